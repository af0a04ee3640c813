// Arbitrary bytes as a record input: the image is either the input itself or
// pieces below the limit that lie inside the input, and a refusal names a
// record that exists; nothing is read outside the input.
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/record_flattening.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > IMAGE_LIMIT) {
        return 0;
    }
    const std::span<const unsigned char> input(data, size);
    const Flattening flattening = flatten_records(input);
    bool sound = true;
    switch (flattening.outcome) {
    case FlattenOutcome::pass_through:
        sound = flattening.image_length == size;
        break;
    case FlattenOutcome::too_large:
        sound = flattening.needed >= IMAGE_LIMIT && flattening.record >= 2 && flattening.record <= size / 8;
        break;
    case FlattenOutcome::overlap:
        sound = flattening.record >= 2 && flattening.record <= size / 8;
        break;
    case FlattenOutcome::records: {
        // The image made in place equals the pieces laid end to end.
        std::vector<unsigned char> buffer(flattening.lead + size + 1);
        std::memcpy(buffer.data() + flattening.lead, data, size);
        flatten_in_place(buffer.data(), std::span(buffer.data() + flattening.lead, size), flattening);
        ImageWalk walk = walk_image(input, flattening);
        ImagePiece piece;
        std::uint64_t length = 0;
        while (next_piece(walk, piece)) {
            sound = sound && piece.bytes.data() >= data && piece.bytes.data() + piece.bytes.size() <= data + size;
            for (std::uint32_t i = 0; sound && i < piece.fill; ++i) {
                sound = buffer[length + i] == 0xFF;
            }
            length += piece.fill;
            sound = sound && std::memcmp(buffer.data() + length, piece.bytes.data(), piece.bytes.size()) == 0;
            length += piece.bytes.size();
        }
        sound = sound && length == flattening.image_length && length < IMAGE_LIMIT;
        break;
    }
    }
    if (!sound) {
        __builtin_trap();
    }
    return 0;
}
