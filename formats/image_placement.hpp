// Placing the pieces of a toolchain output (ELF sections, HEX and S-record
// data records) into one image, in two passes over the same input: the first
// measures (lowest and highest address, whether the pieces come in ascending
// order without overlap), the second writes each piece at its address less
// the lowest one, with 0xFF in the gaps.
//
// Pieces in ascending order cannot overlap, so only an input in another order
// pays for a coverage map (one bit per image byte) in the second pass.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/record_flattening.hpp"

// Why a toolchain output cannot be converted. Each reader reports the first
// fault it meets, with where it is (a line, or a byte offset for ELF).
enum class InputFault {
    none,
    cut_short,        // ELF: the file ends inside a header, a table or the magic
    not_executable,   // ELF: not an executable (a relocatable object, a shared object)
    bad_header,       // ELF: a version or a table entry size it cannot be
    table_outside,    // ELF: the program or section header table lies outside the file
    section_outside,  // ELF: a section's contents lie outside the file
    not_a_record,     // text: a line that is not a record of the format
    bad_digit,        // text: a character that is not an upper-case hex digit
    bad_length,       // text: the line's length differs from its byte count
    bad_checksum,     // text: the checksum does not match the line
    bad_type,         // text: a record type the format does not have, or a wrong count for it
    bad_count,        // S-records: an S5/S6 count that differs from the data records before it
    no_end,           // text: the input ends without an end record
    after_end,        // text: something other than line ends after the end record
    overlap,          // data placed where earlier data lies
    too_large,        // the image would reach IMAGE_LIMIT bytes
    no_data,          // nothing to load
};

struct Placement {
    bool writing = false;  // second pass
    std::uint32_t pieces = 0;
    std::uint64_t low = UINT64_MAX;  // first pass: lowest address of a piece
    std::uint64_t high = 0;          // first pass: address just past the highest piece
    std::uint64_t last_end = 0;      // first pass: end of the piece before
    bool ascending = true;           // each piece so far started at or after the end of the one before
    // The image can be made over the input itself: the pieces ascend in the
    // image and in the input, and each lands at or before where it is read
    // from, so nothing is overwritten before it has been read.
    bool in_place = true;
    std::uint64_t last_source = 0;
    InputFault fault = InputFault::none;
    std::uint64_t where = 0;  // the fault's line or offset

    unsigned char* image = nullptr;     // second pass: high - low bytes, filled with 0xFF
    unsigned char* coverage = nullptr;  // second pass, not ascending: (high - low + 7) / 8 zero bytes
    std::uint64_t filled = 0;           // second pass, ascending: image bytes written or filled so far
};

// Takes a piece of count bytes (count > 0) at address, found at where and
// read from byte source of the input (its first byte, or first digit). In
// the first pass it returns nullptr; in the second the place in the image
// for its bytes, or nullptr (and the fault overlap) where it meets earlier
// data. A first pass that spans IMAGE_LIMIT bytes or more sets too_large.
unsigned char* claim_piece(Placement& place, std::uint64_t address, std::uint32_t count, std::uint64_t where,
                           std::uint64_t source);

// Sets the fault once: the first one found is the one reported.
void set_fault(Placement& place, InputFault fault, std::uint64_t where);

// Bytes of coverage map the second pass needs (0 for ascending pieces).
std::size_t coverage_size(const Placement& measured);

// Starts the second pass from a first one without fault: the image (and the
// coverage map, coverage_size bytes) are prepared.
void start_writing(Placement& place, unsigned char* image, unsigned char* coverage);
