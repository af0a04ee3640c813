// ELF executables as toolchains write them (32 or 64 bits, either byte
// order). The image is what a flash programmer loads: every section that is
// allocated and has contents in the file, at its load address, which is the
// physical address of the loadable segment that holds the section plus the
// section's offset in that segment (a section in no segment loads at its own
// address). .data thus lands in flash behind .rodata, where the start-up code
// copies it from, and .bss, which has no contents, takes no room.
#pragma once

#include <span>

#include "formats/image_placement.hpp"

// True when input starts with the ELF magic, or is a part of it: such an
// input is read as ELF, and refused when it is not a sound executable.
bool looks_like_elf(std::span<const unsigned char> input);

// One pass over the sections (see image_placement.hpp). Faults name a byte
// offset: of the field or table entry at fault, or the file's end when it is
// cut short.
void read_elf(std::span<const unsigned char> input, Placement& place);
