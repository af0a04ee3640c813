// Arbitrary bytes as a toolchain output (ELF, Intel HEX, S-records), as
// KorvaneConvert reads it: an input taken for the target's format is either
// refused with a fault, or gives an image below the limit, the same in its
// measuring and its writing pass; nothing is read outside the input.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/firmware_input.hpp"

inline int fuzz_toolchain_input(const std::uint8_t* data, std::size_t size, InputFormat format)
{
    if (size > TEXT_INPUT_LIMIT) {
        return 0;
    }
    const std::span<const unsigned char> input(data, size);
    FirmwareInput examined = examine_input(input);
    if (examined.format != format || examined.place.fault != InputFault::none) {
        return 0;
    }
    bool sound = examined.image_length > 0 && examined.image_length < IMAGE_LIMIT && examined.place.pieces > 0;
    std::vector<unsigned char> image(examined.image_length + toolchain_work_size(examined));
    make_toolchain_image(input, examined, image.data(), image.data() + examined.image_length);
    sound = sound && (examined.place.fault == InputFault::none || examined.place.fault == InputFault::overlap);
    // Ascending pieces cannot overlap: only the coverage map finds overlaps.
    sound = sound && (examined.place.fault == InputFault::none || !examined.place.ascending);
    if (!sound) {
        __builtin_trap();
    }
    return 0;
}
