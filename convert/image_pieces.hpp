// What a run does with the pieces of a flattened image (record_flattening.hpp)
// without first copying them into one buffer: take their CRC, encrypt them
// into a buffer, write them.
#pragma once

#include <cstdint>

#include "key_stream.hpp"
#include "out_file.hpp"
#include "record_flattening.hpp"

// Continues crc over the image's bytes.
std::uint16_t pieces_crc(std::uint16_t crc, ImageWalk walk);

// Writes the image's bytes, encrypted with the key stream, to image (room for
// the image length).
void encrypt_pieces(ImageWalk walk, KeyStream& key_stream, unsigned char* image);

// Writes the image's bytes to out.
void put_pieces(OutFile& out, ImageWalk walk);
