#include "formats/elf_image.hpp"

#include <array>
#include <cstring>

#include "formats/byte_order.hpp"

namespace {

constexpr unsigned char ELF_MAGIC[4] = {0x7F, 'E', 'L', 'F'};
constexpr unsigned ET_EXEC = 2;
constexpr std::uint32_t PT_LOAD = 1;
constexpr std::uint32_t SHT_NULL = 0;
constexpr std::uint32_t SHT_NOBITS = 8;
constexpr std::uint64_t SHF_ALLOC = 2;

// Loadable segments looked at; firmware has a handful. More are refused
// rather than searched for every section.
constexpr std::size_t LOAD_SEGMENTS_MAX = 256;

// Where the fields lie in the 32-bit and the 64-bit forms.
struct ElfLayout {
    std::size_t header_size, phoff, shoff, phentsize, phnum, shentsize, shnum;
    std::size_t ph_size, p_offset, p_vaddr, p_paddr, p_filesz;
    std::size_t sh_size_entry, sh_flags, sh_addr, sh_offset, sh_size;
};
constexpr ElfLayout ELF32 = {52, 28, 32, 42, 44, 46, 48, 32, 4, 8, 12, 16, 40, 8, 12, 16, 20};
constexpr ElfLayout ELF64 = {64, 32, 40, 54, 56, 58, 60, 56, 8, 16, 24, 32, 64, 8, 16, 24, 32};

// The input with its byte order and word size.
struct ElfView {
    const unsigned char* data;
    bool big;
    bool wide;  // 64-bit: addresses, offsets and sizes are 8 bytes
    const ElfLayout* at;

    std::uint32_t u16(std::size_t offset) const
    {
        return big ? load_be16(data + offset) : load_le16(data + offset);
    }
    std::uint32_t u32(std::size_t offset) const
    {
        return load_u32(big, data + offset);
    }
    std::uint64_t word(std::size_t offset) const
    {
        if (!wide) {
            return u32(offset);
        }
        const std::uint64_t first = u32(offset);
        const std::uint64_t second = u32(offset + 4);
        return big ? first << 32 | second : second << 32 | first;
    }
};

struct LoadSegment {
    std::uint64_t offset, filesz, paddr;
};

// True when a table of count entries of entry_size bytes at offset lies inside the file.
bool inside(std::uint64_t offset, std::uint64_t count, std::uint64_t entry_size, std::size_t file_size)
{
    return offset <= file_size && count <= (file_size - offset) / entry_size;
}

// The load address of count bytes at file offset, found in the segments.
std::uint64_t load_address(std::span<const LoadSegment> segments, std::uint64_t offset, std::uint64_t size,
                           std::uint64_t own_address)
{
    for (const LoadSegment& s : segments) {
        if (offset >= s.offset && offset - s.offset <= s.filesz && size <= s.filesz - (offset - s.offset)) {
            return s.paddr + (offset - s.offset);
        }
    }
    return own_address;
}

}  // namespace

bool looks_like_elf(std::span<const unsigned char> input)
{
    const std::size_t n = input.size() < 4 ? input.size() : 4;
    return n > 0 && std::memcmp(input.data(), ELF_MAGIC, n) == 0;
}

void read_elf(std::span<const unsigned char> input, Placement& place)
{
    const std::size_t size = input.size();
    if (size < 16) {
        return set_fault(place, InputFault::cut_short, size);
    }
    const unsigned char* d = input.data();
    if (d[4] != 1 && d[4] != 2) {
        return set_fault(place, InputFault::bad_header, 4);
    }
    if (d[5] != 1 && d[5] != 2) {
        return set_fault(place, InputFault::bad_header, 5);
    }
    if (d[6] != 1) {
        return set_fault(place, InputFault::bad_header, 6);
    }
    const ElfView elf = {d, d[5] == 2, d[4] == 2, d[4] == 2 ? &ELF64 : &ELF32};
    const ElfLayout& at = *elf.at;
    if (size < at.header_size) {
        return set_fault(place, InputFault::cut_short, size);
    }
    if (elf.u16(16) != ET_EXEC) {
        return set_fault(place, InputFault::not_executable, 16);
    }
    if (elf.u32(20) != 1) {
        return set_fault(place, InputFault::bad_header, 20);
    }
    const std::uint64_t phoff = elf.word(at.phoff);
    const std::uint64_t phnum = elf.u16(at.phnum);
    std::uint64_t shoff = elf.word(at.shoff);
    std::uint64_t shnum = elf.u16(at.shnum);
    if (phnum > 0 && elf.u16(at.phentsize) != at.ph_size) {
        return set_fault(place, InputFault::bad_header, at.phentsize);
    }
    if ((shnum > 0 || shoff != 0) && elf.u16(at.shentsize) != at.sh_size_entry) {
        return set_fault(place, InputFault::bad_header, at.shentsize);
    }
    if (!inside(phoff, phnum, at.ph_size, size)) {
        return set_fault(place, InputFault::table_outside, at.phoff);
    }
    if (!inside(shoff, shnum == 0 && shoff != 0 ? 1 : shnum, at.sh_size_entry, size)) {
        return set_fault(place, InputFault::table_outside, at.shoff);
    }
    if (shnum == 0 && shoff != 0) {
        // More sections than the header's field holds: the count is the size of section 0.
        shnum = elf.word(shoff + at.sh_size);
        if (!inside(shoff, shnum, at.sh_size_entry, size)) {
            return set_fault(place, InputFault::table_outside, at.shoff);
        }
    }

    std::array<LoadSegment, LOAD_SEGMENTS_MAX> loads;
    std::size_t load_count = 0;
    for (std::uint64_t i = 0; i < phnum; ++i) {
        const std::size_t entry = static_cast<std::size_t>(phoff + i * at.ph_size);
        if (elf.u32(entry) != PT_LOAD || elf.word(entry + at.p_filesz) == 0) {
            continue;
        }
        if (load_count == loads.size()) {
            return set_fault(place, InputFault::bad_header, entry);
        }
        loads[load_count++] = {elf.word(entry + at.p_offset), elf.word(entry + at.p_filesz),
                               elf.word(entry + at.p_paddr)};
    }
    const std::span<const LoadSegment> segments(loads.data(), load_count);
    std::uint64_t contents_end = 0;  // the end of the last section contents in the file

    for (std::uint64_t i = 0; i < shnum; ++i) {
        const std::size_t entry = static_cast<std::size_t>(shoff + i * at.sh_size_entry);
        const std::uint32_t type = elf.u32(entry + 4);
        const std::uint64_t section_size = elf.word(entry + at.sh_size);
        if (type == SHT_NULL || type == SHT_NOBITS || (elf.word(entry + at.sh_flags) & SHF_ALLOC) == 0 ||
            section_size == 0) {
            continue;
        }
        const std::uint64_t offset = elf.word(entry + at.sh_offset);
        if (offset > size || section_size > size - offset) {
            return set_fault(place, InputFault::section_outside, entry);
        }
        const std::uint64_t address = load_address(segments, offset, section_size, elf.word(entry + at.sh_addr));
        unsigned char* to = claim_piece(place, address, static_cast<std::uint32_t>(section_size), entry, offset);
        if (place.fault != InputFault::none) {
            return;
        }
        if (to != nullptr) {
            std::memmove(to, d + offset, static_cast<std::size_t>(section_size));
        }
        contents_end = offset + section_size > contents_end ? offset + section_size : contents_end;
    }
    // The section table is read while the image is written: over the input
    // only when it lies behind every section's contents.
    place.in_place = place.in_place && shoff >= contents_end;
    if (place.pieces == 0) {
        set_fault(place, InputFault::no_data, at.shoff);
    }
}
