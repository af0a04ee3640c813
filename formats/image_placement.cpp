#include "formats/image_placement.hpp"

#include <cstring>

void set_fault(Placement& place, InputFault fault, std::uint64_t where)
{
    if (place.fault == InputFault::none) {
        place.fault = fault;
        place.where = where;
    }
}

unsigned char* claim_piece(Placement& place, std::uint64_t address, std::uint32_t count, std::uint64_t where,
                           std::uint64_t source)
{
    if (address > UINT64_MAX - count) {
        set_fault(place, InputFault::too_large, where);
        return nullptr;
    }
    const std::uint64_t end = address + count;
    if (!place.writing) {
        if (place.pieces > 0 && address < place.last_end) {
            place.ascending = false;
        }
        const std::uint64_t first = place.pieces == 0 ? address : place.low;
        place.in_place = place.in_place && place.ascending && source >= place.last_source &&
                         address - first <= source;
        place.last_source = source;
        place.pieces += 1;
        place.last_end = end;
        place.low = address < place.low ? address : place.low;
        place.high = end > place.high ? end : place.high;
        if (place.high - place.low >= IMAGE_LIMIT) {
            set_fault(place, InputFault::too_large, where);
        }
        return nullptr;
    }
    const std::uint64_t at = address - place.low;
    if (place.coverage != nullptr) {
        // Bit i of the map: image byte i holds data already.
        for (std::uint64_t i = at; i < at + count; ++i) {
            unsigned char& bits = place.coverage[i >> 3];
            const auto bit = static_cast<unsigned char>(1u << (i & 7));
            if ((bits & bit) != 0) {
                set_fault(place, InputFault::overlap, where);
                return nullptr;
            }
            bits |= bit;
        }
    } else {
        // Ascending pieces: only the gap in front of this one is filled.
        std::memset(place.image + place.filled, 0xFF, static_cast<std::size_t>(at - place.filled));
        place.filled = at + count;
    }
    return place.image + at;
}

std::size_t coverage_size(const Placement& measured)
{
    return measured.ascending || measured.pieces == 0 ? 0 : static_cast<std::size_t>((measured.high - measured.low + 7) / 8);
}

void start_writing(Placement& place, unsigned char* image, unsigned char* coverage)
{
    place.image = image;
    place.filled = 0;
    place.coverage = place.ascending ? nullptr : coverage;
    if (place.coverage != nullptr) {
        std::memset(image, 0xFF, static_cast<std::size_t>(place.high - place.low));
        std::memset(place.coverage, 0, coverage_size(place));
    }
    place.writing = true;
}
