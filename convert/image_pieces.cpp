#include "image_pieces.hpp"

#include <array>
#include <cstddef>

#include "crc16.hpp"

namespace {

// Gaps are taken from here a block at a time: no run needs a buffer of 0xFF
// as large as its largest gap.
constexpr std::array<unsigned char, 4096> FILL = [] {
    std::array<unsigned char, 4096> block{};
    block.fill(0xFF);
    return block;
}();

// Hands the image's bytes to use(bytes, count) in order, in runs.
template <typename Use>
void for_each_run(ImageWalk walk, Use use)
{
    ImagePiece piece;
    while (next_piece(walk, piece)) {
        for (std::uint32_t left = piece.fill; left > 0;) {
            const std::uint32_t part = left < FILL.size() ? left : static_cast<std::uint32_t>(FILL.size());
            use(FILL.data(), part);
            left -= part;
        }
        use(piece.bytes.data(), static_cast<std::uint32_t>(piece.bytes.size()));
    }
}

}  // namespace

std::uint16_t pieces_crc(std::uint16_t crc, ImageWalk walk)
{
    for_each_run(walk, [&crc](const unsigned char* bytes, std::uint32_t count) {
        crc = crc16_update(crc, bytes, count);
    });
    return crc;
}

void encrypt_pieces(ImageWalk walk, KeyStream& key_stream, unsigned char* image)
{
    for_each_run(walk, [&](const unsigned char* bytes, std::uint32_t count) {
        key_stream_apply(key_stream, bytes, image, count);
        image += count;
    });
}

void put_pieces(OutFile& out, ImageWalk walk)
{
    for_each_run(walk, [&out](const unsigned char* bytes, std::uint32_t count) { out_put(out, bytes, count); });
}
