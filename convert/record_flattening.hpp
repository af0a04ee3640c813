// Flattening of address/length records ("Motorola binary format") into one
// contiguous image.
//
// A record is a big-endian 4-byte target address, a big-endian 4-byte length
// and that many data bytes; records follow one another directly. The image
// starts at the first record's address and holds the records' data in order,
// the holes between them filled with 0xFF. An input that is not such a record
// sequence in ascending order, or whose image would not stay below
// IMAGE_LIMIT, is its own image (a flat image passes through unchanged).
//
// Nothing is copied here: flatten_records only decides, and the image is then
// taken as a series of pieces (0xFF fill, then input bytes) straight from
// the input, by whoever writes, checks or encrypts it.
#pragma once

#include <cstdint>
#include <span>

// Largest input, and the size the image stays below.
constexpr std::uint32_t IMAGE_LIMIT = 0x200000;

enum class FlattenOutcome {
    records,       // a clean record sequence: the image is made of its records
    pass_through,  // not a record sequence: the input is the image
};

struct Flattening {
    FlattenOutcome outcome = FlattenOutcome::pass_through;
    std::uint32_t image_length = 0;
};

// Decides how input (at most IMAGE_LIMIT bytes) becomes an image.
Flattening flatten_records(std::span<const unsigned char> input);

// One piece of an image: fill bytes of 0xFF, then bytes of the input.
struct ImagePiece {
    std::uint32_t fill = 0;
    std::span<const unsigned char> bytes;
};

// Where a walk through the records stands.
struct RecordCursor {
    std::uint32_t pos = 0;           // next unread input byte
    std::uint32_t end_address = 0;   // target address just past the image so far (modulo 2^32)
    std::uint64_t image_length = 0;  // image bytes so far; 64 bits, so sums cannot wrap
    std::uint32_t record = 0;        // records read so far, the current one included
    bool first = true;               // no record taken yet: the next one sets the base
};

enum class RecordStep {
    piece,       // a record taken: piece holds the fill in front of it and its data
    skipped,     // an empty record below the image's end, which changes nothing
    end,         // the input ends right after the last record
    broken_off,  // the input ends inside a record's address, length or data
    too_large,   // this record, or the fill in front of it, would bring the image to IMAGE_LIMIT
    overlap,     // this record has data below the image's end
};

// Reads the record at cursor.pos and advances the cursor past it.
RecordStep next_record(std::span<const unsigned char> input, RecordCursor& cursor, ImagePiece& piece);

// Goes through the pieces of the image that flatten_records decided on.
struct ImageWalk {
    std::span<const unsigned char> input;
    bool records = false;
    bool done = false;
    RecordCursor cursor;
};

ImageWalk walk_image(std::span<const unsigned char> input, const Flattening& flattening);

// The next piece in image order; false after the last.
bool next_piece(ImageWalk& walk, ImagePiece& piece);
