// Intel HEX text: lines ":LLAAAATT<data>CC", LL data bytes at the 16-bit
// offset AAAA, record type TT, and a checksum that makes the line's bytes sum
// to 0 modulo 256. Types 00 (data), 01 (end, required), 02 (segment base:
// value x 16) and 04 (linear base: value x 65536) are used, 03 and 05 (start
// addresses) are checked and passed over. Data records may come in any
// address order; the address of a byte is the base plus the offset plus its
// place in the record.
#pragma once

#include <span>

#include "formats/image_placement.hpp"

// True when input starts with what a record's first nine characters look
// like: the colon, count, offset and one of the six types. Such an input is
// read as Intel HEX, and refused when a line of it is not sound.
bool looks_like_intel_hex(std::span<const unsigned char> input);

// One pass over the records (see image_placement.hpp). Faults name a line.
void read_intel_hex(std::span<const unsigned char> input, Placement& place);
