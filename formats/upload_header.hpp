// The upload header that KorvaneConvert puts in front of an image. All fields
// are big-endian; the image follows the last header byte directly.
//
//   offset 0, 4 bytes: image length (the header is not counted)
//   offset 4, 2 bytes: image magic
//   offset 6, 2 bytes: image CRC, over the image as written (encrypted and
//                      rotated where these apply), then the CRC suffix bytes
//   offset 8, 2 bytes: plain-image CRC, in the 10-byte header only (written
//                      when key bytes are given): over the image before
//                      encryption and rotation, then the CRC suffix bytes
//
// Both CRCs are CRC-16/XMODEM (crc16.hpp), started at 0. The suffix bytes
// take part in the CRCs but are never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

constexpr std::size_t UPLOAD_HEADER_SIZE = 8;
constexpr std::size_t UPLOAD_HEADER_KEYED_SIZE = 10;

struct UploadHeader {
    std::uint32_t image_length = 0;
    std::uint16_t magic = 0;
    std::uint16_t image_crc = 0;
    bool keyed = false;  // the 10-byte form, which carries plain_crc
    std::uint16_t plain_crc = 0;
};

constexpr std::size_t upload_header_size(const UploadHeader& header)
{
    return header.keyed ? UPLOAD_HEADER_KEYED_SIZE : UPLOAD_HEADER_SIZE;
}

// Writes the header's 8 or 10 bytes to out and returns the count.
std::size_t pack_upload_header(const UploadHeader& header, unsigned char* out);

// Reads the header of a whole upload file. The form follows from the length
// field: the 8-byte header when the file holds 8 + length bytes, the 10-byte
// one when it holds 10 + length. False when neither fits.
bool unpack_upload_header(std::span<const unsigned char> file, UploadHeader& header);

// A header CRC: register 0 run over the image, given in two parts (a rotated
// image is written as two; either may be empty), then over the suffix bytes.
std::uint16_t upload_crc(std::span<const unsigned char> first, std::span<const unsigned char> second,
                         std::span<const unsigned char> suffix);
