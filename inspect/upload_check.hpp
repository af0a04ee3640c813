// An upload image read back with the arguments 3 to 7 of the KorvaneConvert
// call that made it: the header against the file and the arguments, the
// image CRC over the image as written, and with key bytes the rotation and
// the key stream undone and the plain-image CRC over what they give back.
// The arguments are read by the reader KorvaneConvert uses, so that the
// same strings mean the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "formats/key_stream.hpp"
#include "formats/upload_arguments.hpp"
#include "formats/upload_header.hpp"

enum class UploadFault {
    none,
    too_short,          // the file cannot hold the header the arguments ask for
    length,             // the length field fits neither header form
    form,               // the length field fits the other form: key bytes given or not as when it was made
    magic,              // the magic is not the one of argument 3
    image_crc,          // the image CRC does not match the image as written
    no_key_bytes,       // argument 5 gives no key bytes, but the image is not empty
    rotation_too_long,  // argument 7 rotates by more bytes than the image holds
    plain_crc,          // the plain-image CRC does not match the recovered image
};

struct UploadCheck {
    UploadFault fault = UploadFault::none;  // the first check that fails, in the order above
    std::size_t header_size = 0;            // what the arguments ask for; 0 for a plain image (-b)
    std::size_t found_size = 0;             // form: the header the length field fits
    std::size_t behind = 0;                 // bytes of the file behind the header the arguments ask for
    UploadHeader header;                    // as stored (image_length also with length and form)
    std::uint16_t image_crc = 0;            // computed over the image as written and the suffix bytes
    std::uint16_t plain_crc = 0;            // computed over the recovered image and the suffix bytes
    bool recovered = false;                 // plain holds the image before encryption and rotation
    std::span<const unsigned char> plain;   // the plain image: in plain_room, or part of the file
};

// Checks file against request. With key bytes the recovered image is written
// to plain_room, which must hold file.size() bytes; ks is the run's key stream.
UploadCheck check_upload(std::span<const unsigned char> file, const ConvertRequest& request, KeyStream& ks,
                         unsigned char* plain_room);
