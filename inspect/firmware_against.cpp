#include "inspect/firmware_against.hpp"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "formats/firmware_input.hpp"
#include "inspect/input_file.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "io/file_access.hpp"

namespace {

constexpr char MSG_FIRMWARE_EQUALS[] = "  firmware   %s read as %s: %u bytes, equal to the plain image\n";
constexpr char MSG_FIRMWARE_BROKEN[] = "Firmware %s read as %s, %s %llu: %s. Terminating\n\n";
constexpr char MSG_FIRMWARE_REFUSED[] = "Firmware %s: records that KorvaneConvert refuses to flatten. Terminating\n\n";
constexpr char MSG_FIRMWARE_DIFFERS[] =
    "The plain image (%zu bytes) differs from the image of firmware %s (%u bytes) from offset 0x%zX. Terminating\n\n";

// The first offset at which the two differ, or the shorter length.
std::size_t first_difference(std::span<const unsigned char> a, std::span<const unsigned char> b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    std::size_t i = 0;
    while (i < n && a[i] == b[i]) {
        ++i;
    }
    return i;
}

int refuse_broken(const FirmwareInput& examined, const char* path)
{
    std::printf(MSG_FIRMWARE_BROKEN, path, input_format_name(examined.format),
                fault_at_offset(examined.format) ? "offset" : "line",
                static_cast<unsigned long long>(examined.place.where), input_fault_text(examined.place.fault));
    return EXIT_NOT_READABLE;
}

int compare_bytes(InspectRun& run, std::span<const unsigned char> plain, const char* path)
{
    const std::span<const unsigned char> input(run.firmware.data, run.firmware.size);
    if (input.size() > IMAGE_LIMIT && !looks_like_text_records(input)) {
        std::printf(MSG_FILE_TOO_LARGE, path, static_cast<std::size_t>(IMAGE_LIMIT));
        return EXIT_NOT_READABLE;
    }
    FirmwareInput examined = examine_input(input);
    if (examined.place.fault != InputFault::none) {
        return refuse_broken(examined, path);
    }
    if (examined.format == InputFormat::records && examined.flattening.outcome != FlattenOutcome::records) {
        std::printf(MSG_FIRMWARE_REFUSED, path);
        return EXIT_NOT_READABLE;
    }
    if (!reserve_bytes(run.firmware_image, examined.image_length + toolchain_work_size(examined) + 1)) {
        explain_file_error(path, errno);
        std::printf(MSG_FILE_NOT_READ, path);
        return EXIT_INPUT_FAILED;
    }
    copy_image(input, examined, run.firmware_image.data, run.firmware_image.data + examined.image_length);
    if (examined.place.fault != InputFault::none) {
        return refuse_broken(examined, path);
    }
    const std::span<const unsigned char> image(run.firmware_image.data, examined.image_length);
    const std::size_t at = first_difference(plain, image);
    if (at < plain.size() || at < image.size()) {
        std::printf(MSG_FIRMWARE_DIFFERS, plain.size(), path, examined.image_length, at);
        return EXIT_MISMATCH;
    }
    std::printf(MSG_FIRMWARE_EQUALS, path, input_format_name(examined.format), examined.image_length);
    return EXIT_OK;
}

}  // namespace

int compare_with_firmware(InspectRun& run, std::span<const unsigned char> plain, const char* path)
{
    int fd = -1;
    int code = open_inspected(path, fd);
    if (code != EXIT_OK) {
        return code;
    }
    code = read_inspected(fd, path, TEXT_INPUT_LIMIT, run.firmware);
    if (code == EXIT_OK) {
        code = compare_bytes(run, plain, path);
    }
    ::close(fd);
    return code;
}
