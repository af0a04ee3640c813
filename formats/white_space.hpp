// White-space squeezing, the -w option of a collection entry: the bytes an
// image holds for a squeezed file. Pure data in and out.
#pragma once

#include <cstddef>

// Keeps only the first byte of every run of white space (CR, LF, blank, tab)
// of count bytes from src, stored from dest on (dest may be src or lie before
// it), and returns how many were kept. after_space says whether the byte kept
// last was white space; it carries a run from call to call.
std::size_t squeeze_white_space(const unsigned char* src, std::size_t count, unsigned char* dest, bool& after_space);
