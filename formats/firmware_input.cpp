#include "formats/firmware_input.hpp"

#include <cstring>

#include "formats/byte_order.hpp"
#include "formats/elf_image.hpp"
#include "formats/hex_records.hpp"
#include "formats/s_records.hpp"

namespace {

// One pass of the reader of format.
void read_toolchain_output(InputFormat format, std::span<const unsigned char> input, Placement& place)
{
    if (format == InputFormat::elf) {
        read_elf(input, place);
    } else if (format == InputFormat::intel_hex) {
        read_intel_hex(input, place);
    } else {
        read_s_records(input, place);
    }
}

// A flat input that starts as records and breaks off: at least two complete
// records, then a record whose address and length are there but whose data
// runs past the end.
void look_for_broken_records(std::span<const unsigned char> input, FirmwareInput& examined)
{
    std::uint64_t pos = 0;
    std::uint32_t records = 0;
    while (input.size() - pos >= 8) {
        const std::uint64_t end = pos + 8 + load_be32(input.data() + pos + 4);
        if (end > input.size()) {
            if (records >= 2) {
                examined.doubt = InputDoubt::broken_off;
                examined.doubt_records = records;
                examined.doubt_offset = static_cast<std::uint32_t>(pos);
            }
            return;
        }
        pos = end;
        records += 1;
    }
}

// A record stream of at least two records, all of length 0.
void look_for_empty_records(std::span<const unsigned char> input, FirmwareInput& examined)
{
    if (input.size() < 16 || input.size() % 8 != 0) {
        return;
    }
    for (std::size_t pos = 0; pos < input.size(); pos += 8) {
        if (load_be32(input.data() + pos + 4) != 0) {
            return;
        }
    }
    examined.doubt = InputDoubt::all_empty;
    examined.doubt_records = static_cast<std::uint32_t>(input.size() / 8);
}

}  // namespace

bool looks_like_text_records(std::span<const unsigned char> input)
{
    return looks_like_intel_hex(input) || looks_like_s_records(input);
}

FirmwareInput examine_input(std::span<const unsigned char> input)
{
    FirmwareInput examined;
    // Records come from inputs of at most IMAGE_LIMIT bytes, as always.
    examined.flattening = input.size() <= IMAGE_LIMIT
                              ? flatten_records(input)
                              : Flattening{FlattenOutcome::pass_through, static_cast<std::uint32_t>(input.size())};
    examined.image_length = examined.flattening.image_length;
    if (examined.flattening.outcome != FlattenOutcome::pass_through) {
        examined.format = InputFormat::records;
        if (examined.flattening.outcome == FlattenOutcome::records) {
            look_for_empty_records(input, examined);
        }
        return examined;
    }
    if (looks_like_elf(input)) {
        examined.format = InputFormat::elf;
    } else if (looks_like_intel_hex(input)) {
        examined.format = InputFormat::intel_hex;
    } else if (looks_like_s_records(input)) {
        examined.format = InputFormat::s_records;
    } else {
        look_for_broken_records(input, examined);
        return examined;
    }
    Placement& place = examined.place;
    read_toolchain_output(examined.format, input, place);
    if (place.fault == InputFault::none && place.pieces == 0) {
        set_fault(place, InputFault::no_data, 0);
    }
    if (place.fault == InputFault::none) {
        examined.image_length = static_cast<std::uint32_t>(place.high - place.low);
    }
    return examined;
}

std::size_t toolchain_work_size(const FirmwareInput& examined)
{
    return coverage_size(examined.place);
}

void make_toolchain_image(std::span<const unsigned char> input, FirmwareInput& examined, unsigned char* image,
                          unsigned char* work)
{
    start_writing(examined.place, image, work);
    read_toolchain_output(examined.format, input, examined.place);
}

const char* input_format_name(InputFormat format)
{
    constexpr const char* NAMES[] = {"records", "ELF", "Intel HEX", "S-records", "flat image"};
    return NAMES[static_cast<int>(format)];
}

const char* input_piece_name(InputFormat format)
{
    return format == InputFormat::elf ? "section" : "data record";
}

bool fault_at_offset(InputFormat format)
{
    return format == InputFormat::elf;
}

const char* input_fault_text(InputFault fault)
{
    constexpr const char* TEXTS[] = {
        "no fault",
        "the file ends inside its headers",
        "not an executable (a relocatable or shared object cannot be loaded as it is)",
        "a header field that an executable cannot have",
        "the program or section header table lies outside the file",
        "the contents of this section lie outside the file",
        "the line is not a record",
        "a character that is not an upper-case hex digit",
        "the line's length does not match its byte count",
        "the checksum does not match the line",
        "a record type, or a byte count for its type, that the format does not have",
        "the record count differs from the data records before it",
        "the input ends without an end record",
        "text after the end record",
        "data placed where earlier data lies",
        "the image would reach 2097152 bytes",
        "no data to load",
    };
    return TEXTS[static_cast<int>(fault)];
}

void copy_image(std::span<const unsigned char> input, FirmwareInput& examined, unsigned char* out,
                unsigned char* work)
{
    if (examined.format != InputFormat::records && examined.format != InputFormat::flat) {
        return make_toolchain_image(input, examined, out, work);
    }
    ImageWalk walk = walk_image(input, examined.flattening);
    ImagePiece piece;
    while (next_piece(walk, piece)) {
        std::memset(out, 0xFF, piece.fill);
        out += piece.fill;
        std::memcpy(out, piece.bytes.data(), piece.bytes.size());
        out += piece.bytes.size();
    }
}
