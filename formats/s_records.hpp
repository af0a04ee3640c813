// Motorola S-record text: lines "S<type><count><address><data><checksum>",
// count the number of bytes after it, the checksum the ones' complement of
// the low byte of the sum of count, address and data bytes. S0 (header) is
// passed over, S1, S2 and S3 carry data at 16-, 24- and 32-bit addresses,
// S5 and S6 count the data records before them (checked), and an S7, S8 or
// S9 end record is required. Data records may come in any address order.
#pragma once

#include <span>

#include "formats/image_placement.hpp"

// True when input starts like a record: "S", a type digit other than 4 and
// two hex digits of count. Such an input is read as S-records, and refused
// when a line of it is not sound.
bool looks_like_s_records(std::span<const unsigned char> input);

// One pass over the records (see image_placement.hpp). Faults name a line.
void read_s_records(std::span<const unsigned char> input, Placement& place);
