// Arbitrary bytes as a record input: the image is either the input itself or
// pieces below the limit that lie inside the input; nothing is read outside.
#include <cstdint>
#include <cstring>

#include "record_flattening.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > IMAGE_LIMIT) {
        return 0;
    }
    const std::span<const unsigned char> input(data, size);
    const Flattening flattening = flatten_records(input);
    ImageWalk walk = walk_image(input, flattening);
    ImagePiece piece;
    std::uint64_t length = 0;
    std::size_t pieces = 0;
    while (next_piece(walk, piece)) {
        if (piece.bytes.data() < data || piece.bytes.data() + piece.bytes.size() > data + size) {
            __builtin_trap();
        }
        length += piece.fill + piece.bytes.size();
        ++pieces;
    }
    const bool passed = flattening.outcome == FlattenOutcome::pass_through;
    if (length != flattening.image_length || (passed ? length != size || pieces != 1 : length >= IMAGE_LIMIT)) {
        __builtin_trap();
    }
    return 0;
}
