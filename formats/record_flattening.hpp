// Flattening of address/length records ("Motorola binary format") into one
// contiguous image.
//
// A record is a big-endian 4-byte target address, a big-endian 4-byte length
// and that many data bytes; records follow one another directly. The image
// starts at the first record's address and holds the records' data in order,
// the holes between them filled with 0xFF. An input that is not such a record
// sequence is its own image (a flat image passes through unchanged). A
// complete record sequence (every record's address, length and data inside
// the input, the last one ending where the input ends) whose image would not
// stay below IMAGE_LIMIT, or whose records overlap or descend, is refused:
// shipped raw it would be booted as firmware.
//
// flatten_records only reads and decides; flatten_in_place then moves the
// records to their places in the input's own buffer and fills the gaps, so
// that the image needs no second buffer and no byte is copied twice.
#pragma once

#include <cstdint>
#include <span>

// Largest input, and the size the image stays below.
constexpr std::uint32_t IMAGE_LIMIT = 0x200000;

enum class FlattenOutcome {
    records,       // a clean record sequence: the image is made of its records
    pass_through,  // not a record sequence: the input is the image
    too_large,     // refused: records 1 to record need an image of needed bytes
    overlap,       // refused: record, at address, lies below the image before it
};

struct Flattening {
    FlattenOutcome outcome = FlattenOutcome::pass_through;
    std::uint32_t image_length = 0;  // refusals: the input's length, as if it passed through
    std::uint32_t record = 0;   // refusals: the record that stops the flattening, counted from 1
    std::uint32_t address = 0;  // its address
    std::uint64_t needed = 0;   // the image length through it
    std::uint32_t lead = 0;     // records: how far an image byte lies ahead of its input byte, at most
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
    std::uint32_t address = 0;       // the current record's address
    std::uint64_t needed = 0;        // the image length through the current record, fill included
    std::uint32_t lead = 0;          // how far an image byte lay ahead of its input byte, at most
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

// Makes the image of a record input (flattening.outcome is records) at
// image[0]. The input must lie in the same buffer, at least flattening.lead
// bytes after image: then every record moves towards the front or stays, and
// nothing is overwritten before it has been read. The buffer needs room for
// the image and for the input there.
void flatten_in_place(unsigned char* image, std::span<const unsigned char> input, const Flattening& flattening);
