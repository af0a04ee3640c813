// What a firmware input is, chosen by its content, in this order:
//   1. a complete record stream (every record inside the input, the last
//      one ending at its end): flattened as records (record_flattening.hpp);
//   2. ELF (the input starts with the ELF magic);
//   3. Intel HEX or S-records (the input starts with what a record's first
//      characters look like);
//   4. anything else: a flat image, its own image.
// An input taken for ELF, HEX or S-records is read whole and refused at its
// first fault; a flat image that happens to start like one of them is read
// as that format. The image of these three formats starts at the lowest
// address that holds data, with gaps filled with 0xFF, and stays below
// IMAGE_LIMIT bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "formats/image_placement.hpp"
#include "formats/record_flattening.hpp"

// The largest input that starts as Intel HEX or S-record text: about three
// characters a byte, for an image below IMAGE_LIMIT. Other inputs stay at
// IMAGE_LIMIT bytes.
constexpr std::uint32_t TEXT_INPUT_LIMIT = 0x800000;

// True when input starts as Intel HEX or S-record text.
bool looks_like_text_records(std::span<const unsigned char> input);

enum class InputFormat { records, elf, intel_hex, s_records, flat };

// Two shapes of record input that are read otherwise than they were most
// likely meant, and earn a warning.
enum class InputDoubt {
    none,
    broken_off,  // flat: at least two complete records, then one whose data runs past the end
    all_empty,   // records: at least two, and all of length 0 (an empty image)
};

struct FirmwareInput {
    InputFormat format = InputFormat::flat;
    Flattening flattening;    // records and flat: as flatten_records decided
    Placement place;          // ELF, HEX and S-records: the measuring pass, with its fault
    std::uint32_t image_length = 0;  // the image's length (for a fault: the input's)
    InputDoubt doubt = InputDoubt::none;
    std::uint32_t doubt_records = 0;  // records before the break, or the empty records
    std::uint32_t doubt_offset = 0;   // broken_off: where the record that breaks off starts
};

// Decides what input (at most IMAGE_LIMIT bytes, or TEXT_INPUT_LIMIT for text) is and, for ELF, HEX and
// S-records, checks all of it and measures the image.
FirmwareInput examine_input(std::span<const unsigned char> input);

// Bytes of work room make_toolchain_image needs besides the image.
std::size_t toolchain_work_size(const FirmwareInput& examined);

// ELF, HEX and S-records without fault: writes the image (image_length
// bytes) to image, using work (toolchain_work_size bytes). Where
// examined.place.in_place is true, image may be the input's own first byte. A fault found only
// now (overlapping data) is left in examined.place.fault; the image is then
// not to be used.
void make_toolchain_image(std::span<const unsigned char> input, FirmwareInput& examined, unsigned char* image,
                          unsigned char* work);

// "ELF", "Intel HEX" or "S-records"; "records" and "flat image" for the others.
const char* input_format_name(InputFormat format);

// What a piece is called in the note: "section" or "data record".
const char* input_piece_name(InputFormat format);

// The fault in words, for a message ("the checksum does not match the line").
const char* input_fault_text(InputFault fault);

// True when the fault's place is a byte offset (ELF) rather than a line.
bool fault_at_offset(InputFormat format);

// Any input without fault (records flattened, not refused): writes its image
// (image_length bytes) to out, a buffer of its own, using work
// (toolchain_work_size bytes). For a reader of the image rather than a
// converter: KorvaneConvert makes records in place.
void copy_image(std::span<const unsigned char> input, FirmwareInput& examined, unsigned char* out,
                unsigned char* work);
