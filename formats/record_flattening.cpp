#include "formats/record_flattening.hpp"

#include <cstring>

#include "formats/byte_order.hpp"

RecordStep next_record(std::span<const unsigned char> input, RecordCursor& cursor, ImagePiece& piece)
{
    const auto length = static_cast<std::uint32_t>(input.size());
    if (cursor.pos == length) {
        return RecordStep::end;
    }
    if (length - cursor.pos < 8) {
        return RecordStep::broken_off;  // a tail too short for an address and a length
    }
    const std::uint32_t address = load_be32(input.data() + cursor.pos);
    const std::uint32_t record_length = load_be32(input.data() + cursor.pos + 4);
    cursor.pos += 8;
    cursor.record += 1;
    cursor.address = address;
    std::uint32_t fill = 0;
    if (!cursor.first && address != cursor.end_address) {
        if (address > cursor.end_address) {
            fill = address - cursor.end_address;
            if (cursor.image_length + fill >= IMAGE_LIMIT) {
                cursor.needed = cursor.image_length + fill + record_length;
                return RecordStep::too_large;
            }
        } else if (record_length == 0) {
            return RecordStep::skipped;
        } else {
            return RecordStep::overlap;  // overlapping or descending records
        }
    }
    cursor.needed = cursor.image_length + fill + record_length;
    if (cursor.needed >= IMAGE_LIMIT) {
        return RecordStep::too_large;
    }
    if (record_length > length - cursor.pos) {
        return RecordStep::broken_off;  // checked before any data byte is taken
    }
    piece.fill = fill;
    piece.bytes = input.subspan(cursor.pos, record_length);
    const std::uint64_t image_pos = cursor.image_length + fill;
    if (image_pos > cursor.pos && image_pos - cursor.pos > cursor.lead) {
        cursor.lead = static_cast<std::uint32_t>(image_pos - cursor.pos);
    }
    cursor.pos += record_length;
    cursor.image_length += fill + record_length;
    cursor.end_address = address + record_length;
    cursor.first = false;
    return RecordStep::piece;
}

namespace {

// True when the input is records from end to end: every address, length and
// data inside it, and the last record ending where the input ends.
bool holds_whole_records(std::span<const unsigned char> input)
{
    std::uint64_t pos = 0;
    while (pos < input.size()) {
        if (input.size() - pos < 8) {
            return false;
        }
        pos += 8 + static_cast<std::uint64_t>(load_be32(input.data() + pos + 4));
    }
    return pos == input.size();
}

}  // namespace

Flattening flatten_records(std::span<const unsigned char> input)
{
    const Flattening pass_through = {FlattenOutcome::pass_through, static_cast<std::uint32_t>(input.size())};
    RecordCursor cursor;
    ImagePiece piece;
    for (;;) {
        const RecordStep step = next_record(input, cursor, piece);
        switch (step) {
        case RecordStep::piece:
        case RecordStep::skipped:
            break;
        case RecordStep::end:
            return {FlattenOutcome::records, static_cast<std::uint32_t>(cursor.image_length), 0, 0, 0, cursor.lead};
        case RecordStep::broken_off:
            return pass_through;
        case RecordStep::too_large:
        case RecordStep::overlap:
            if (!holds_whole_records(input)) {
                return pass_through;
            }
            return {step == RecordStep::overlap ? FlattenOutcome::overlap : FlattenOutcome::too_large,
                    pass_through.image_length, cursor.record, cursor.address, cursor.needed};
        }
    }
}

ImageWalk walk_image(std::span<const unsigned char> input, const Flattening& flattening)
{
    ImageWalk walk;
    walk.input = input;
    walk.records = flattening.outcome == FlattenOutcome::records;
    return walk;
}

bool next_piece(ImageWalk& walk, ImagePiece& piece)
{
    if (walk.done) {
        return false;
    }
    if (!walk.records) {
        walk.done = true;
        piece = {0, walk.input};
        return true;
    }
    RecordStep step = RecordStep::skipped;
    while (step == RecordStep::skipped) {
        step = next_record(walk.input, walk.cursor, piece);
    }
    // The decision has already seen the whole input: anything but a piece is its end.
    walk.done = step != RecordStep::piece;
    return !walk.done;
}

void flatten_in_place(unsigned char* image, std::span<const unsigned char> input, const Flattening& flattening)
{
    ImageWalk walk = walk_image(input, flattening);
    ImagePiece piece;
    // A record's bytes never land beyond the next record's address and length
    // in the input, and a gap ends where the record after it begins in the
    // input: each piece is read before anything overwrites it.
    while (next_piece(walk, piece)) {
        std::memset(image, 0xFF, piece.fill);
        image += piece.fill;
        std::memmove(image, piece.bytes.data(), piece.bytes.size());
        image += piece.bytes.size();
    }
}
