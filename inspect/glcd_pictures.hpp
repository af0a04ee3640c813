// A GLCD array as the display shows it: rows top to bottom in the array's
// order, a set bit lit. As text, two pixel rows a line with the half and full
// block characters (lit is drawn), or one row a line with '#' (lit) and '.';
// as a binary PBM file, where a 1 bit is dark, so a lit pixel is a 0 bit. The
// bits past the width are not part of the picture.
#pragma once

#include <cstdio>
#include <span>

#include "formats/glcd_array.hpp"
#include "io/out_file.hpp"

// Draws array to out, a line at a time through line, which must hold
// 3 * width + 2 bytes.
void draw_glcd_picture(const GlcdArray& array, bool ascii, std::span<char> line, std::FILE* out);

// Writes array as a binary PBM file (P4).
void write_glcd_pbm(const GlcdArray& array, OutFile& out);
