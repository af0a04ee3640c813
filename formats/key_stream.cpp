#include "formats/key_stream.hpp"

#include <bit>
#include <cstring>

#include "formats/crc16.hpp"

// Why 16 bytes per step: by linearity the register after j key bytes is
// Z_j(reg) XOR D_j, where D_j is the register those key bytes give from 0 (a
// constant per key position, in KeyAhead) and Z_j(reg) is the register run
// over j zero bytes. For j >= 2 the two bytes of reg have both left the
// register, so Z_j(reg) = T[j-1][high byte] XOR T[j-2][low byte] with the
// tables of crc16.hpp; Z_1(reg) = (low byte << 8) XOR T[0][high byte]. The 16
// stream bytes of a block therefore all come from the register at its start,
// and the register at its end is T[15][high] XOR T[14][low] XOR D_16: one
// dependent step per block instead of sixteen.

namespace {

constexpr std::size_t BLOCK = 16;

// Puts byte value v at position j (0 to 7) of a 64-bit word in memory order.
constexpr std::uint64_t at_byte(std::size_t j, unsigned v)
{
    const std::size_t shift = std::endian::native == std::endian::little ? 8 * j : 8 * (7 - j);
    return static_cast<std::uint64_t>(v & 0xFF) << shift;
}

// Low bytes of Z_j for the stream bytes of one block (j = 1 to 16), packed in
// two words, split into what the high and what the low byte of the register
// contribute: high[x] for high byte x, low[x] for low byte x. The two words
// of an entry sit side by side, so that each entry is one 16-byte load.
struct PackedTables {
    std::array<std::array<std::uint64_t, 2>, 256> high{};
    std::array<std::array<std::uint64_t, 2>, 256> low{};
};

constexpr PackedTables make_packed_tables()
{
    PackedTables p{};
    for (unsigned x = 0; x < 256; ++x) {
        for (std::size_t j = 0; j < BLOCK; ++j) {  // stream byte j comes after j + 1 key bytes
            p.high[x][j / 8] |= at_byte(j % 8, CRC16_TABLES[j][x]);
            p.low[x][j / 8] |= j == 0 ? 0 : at_byte(j % 8, CRC16_TABLES[j - 1][x]);
        }
    }
    return p;
}

constexpr PackedTables PACKED = make_packed_tables();

}  // namespace

void key_stream_start(KeyStream& ks, std::span<const unsigned char> keys, std::uint16_t seed)
{
    ks.key_count = static_cast<std::uint32_t>(keys.size() < KEY_BYTES_MAX ? keys.size() : KEY_BYTES_MAX);
    std::memcpy(ks.keys.data(), keys.data(), ks.key_count);
    ks.position = 0;
    ks.reg = seed;
    for (std::uint32_t p = 0; p < ks.key_count; ++p) {
        KeyAhead& a = ks.ahead[p];
        a.stream = {};
        std::uint16_t reg = 0;
        std::uint32_t k = p;
        for (std::size_t j = 0; j < BLOCK; ++j) {
            reg = crc16_step(reg, ks.keys[k]);
            k = k + 1 == ks.key_count ? 0 : k + 1;
            a.stream[j / 8] |= at_byte(j % 8, reg);
        }
        a.reg = reg;
        a.next = static_cast<std::uint8_t>(k);
    }
}

void key_stream_apply_bytewise(KeyStream& ks, const unsigned char* src, unsigned char* dst, std::size_t count)
{
    if (ks.key_count == 0) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        ks.reg = crc16_step(ks.reg, ks.keys[ks.position]);
        ks.position = ks.position + 1 == ks.key_count ? 0 : ks.position + 1;
        dst[i] = static_cast<unsigned char>(src[i] ^ (ks.reg & 0xFF));
    }
}

void key_stream_apply(KeyStream& ks, const unsigned char* src, unsigned char* dst, std::size_t count)
{
    if (ks.key_count == 0) {
        return;
    }
    unsigned reg = ks.reg;
    std::uint32_t position = ks.position;
    for (; count >= BLOCK; count -= BLOCK, src += BLOCK, dst += BLOCK) {
        const KeyAhead& a = ks.ahead[position];
        const unsigned high = reg >> 8;
        const unsigned low = reg & 0xFF;
        std::uint64_t word[2];
        std::memcpy(word, src, BLOCK);
        word[0] ^= PACKED.high[high][0] ^ PACKED.low[low][0] ^ a.stream[0];
        word[1] ^= PACKED.high[high][1] ^ PACKED.low[low][1] ^ a.stream[1];
        std::memcpy(dst, word, BLOCK);
        reg = CRC16_TABLES[15][high] ^ CRC16_TABLES[14][low] ^ a.reg;
        position = a.next;
    }
    ks.reg = static_cast<std::uint16_t>(reg);
    ks.position = position;
    key_stream_apply_bytewise(ks, src, dst, count);
}

RotatedImage rotated_parts(std::span<const unsigned char> image, std::size_t rotation)
{
    const std::size_t split = image.size() - (rotation < image.size() ? rotation : image.size());
    return {image.subspan(split), image.first(split)};
}
