#include "inspect/upload_mode.hpp"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "formats/record_flattening.hpp"
#include "io/file_access.hpp"
#include "inspect/firmware_against.hpp"
#include "inspect/input_file.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/inspect_output.hpp"
#include "inspect/upload_check.hpp"

namespace {

// The largest upload image KorvaneConvert writes: the keyed header and an
// image of the largest input.
constexpr std::size_t UPLOAD_CAP = UPLOAD_HEADER_KEYED_SIZE + IMAGE_LIMIT;

void print_argument_fault(ArgumentReading reading)
{
    switch (reading.fault) {
    case ArgumentFault::mode_missing:  // the command line has asked for argument 3 already
        std::printf(MSG_ARGUMENTS_MISSING, "KorvaneInspect upload IMAGE ARG3 [ARG4 ...]");
        break;
    case ArgumentFault::magic_short: std::printf("%s", MSG_MAGIC_SHORT); break;
    case ArgumentFault::empty: std::printf(MSG_ARGUMENT_EMPTY, reading.argument); break;
    case ArgumentFault::odd_digits: std::printf(MSG_ODD_DIGITS, reading.argument); break;
    case ArgumentFault::word_short: std::printf(MSG_WORD_SHORT, reading.argument); break;
    case ArgumentFault::none: break;
    }
}

const char* verdict(bool holds)
{
    return holds ? CHECK_EQUALS : CHECK_DIFFERS;
}

// The header and the checks, one line each; then the message of the first fault.
int report(const UploadCheck& check, const ConvertRequest& request, const char* path)
{
    const UploadHeader& header = check.header;
    switch (check.fault) {
    case UploadFault::too_short:
        std::printf(MSG_UPLOAD_TOO_SHORT, path, check.header_size);
        return EXIT_NOT_READABLE;
    case UploadFault::length:
        std::printf(MSG_UPLOAD_LENGTH, path, header.image_length, check.behind);
        return EXIT_NOT_READABLE;
    case UploadFault::form:
        std::printf(MSG_UPLOAD_FORM, path, check.found_size, check.header_size);
        return EXIT_NOT_READABLE;
    default:
        break;
    }
    std::printf(MSG_UPLOAD_HEADER, path, check.header_size, header.image_length);
    std::printf(MSG_UPLOAD_MAGIC, header.magic, verdict(header.magic == request.magic), request.magic);
    std::printf(MSG_UPLOAD_IMAGE_CRC, header.image_crc, verdict(header.image_crc == check.image_crc), check.image_crc,
                static_cast<unsigned>(request.suffix.count));
    if (request.keyed && check.recovered) {
        std::printf(MSG_UPLOAD_PLAIN_CRC, header.plain_crc, verdict(header.plain_crc == check.plain_crc),
                    check.plain_crc, static_cast<unsigned>(request.keys.count), request.seed, request.rotation);
    }
    switch (check.fault) {
    case UploadFault::magic:
        std::printf(MSG_MAGIC_DIFFERS, path, header.magic, request.magic);
        return EXIT_MISMATCH;
    case UploadFault::image_crc:
        std::printf(MSG_IMAGE_CRC_DIFFERS, path, header.image_crc, check.image_crc);
        return EXIT_MISMATCH;
    case UploadFault::no_key_bytes:
        std::printf(MSG_NO_KEY_BYTES, path, header.image_length);
        return EXIT_MISMATCH;
    case UploadFault::rotation_too_long:
        std::printf(MSG_ROTATION_TOO_LONG, path, static_cast<unsigned>(request.rotation));
        return EXIT_MISMATCH;
    case UploadFault::plain_crc:
        std::printf(MSG_PLAIN_CRC_DIFFERS, path, header.plain_crc, check.plain_crc);
        return EXIT_MISMATCH;
    default:
        return EXIT_OK;
    }
}

int write_plain(InspectRun& run, const UploadCheck& check, const char* plain_path, int input_fd)
{
    int code = open_output(run.out, plain_path, input_fd);
    if (code != EXIT_OK) {
        return code;
    }
    out_put(run.out, check.plain.data(), check.plain.size());
    code = close_output(run.out, plain_path);
    if (code == EXIT_OK) {
        std::printf(MSG_PLAIN_WRITTEN, plain_path);
    }
    return code;
}

int inspect_upload_file(InspectRun& run, const InspectRequest& inspect, const ConvertRequest& request, int fd)
{
    const char* path = request.output;
    int code = read_inspected(fd, path, UPLOAD_CAP, run.file);
    if (code != EXIT_OK) {
        return code;
    }
    if (!reserve_bytes(run.plain, run.file.size)) {
        explain_file_error(path, errno);
        std::printf(MSG_FILE_NOT_READ, path);
        return EXIT_INPUT_FAILED;
    }
    const std::span<const unsigned char> file(run.file.data, run.file.size);
    const UploadCheck check = check_upload(file, request, run.key_stream, run.plain.data);
    if (request.plain) {
        std::printf(MSG_PLAIN_IMAGE, path, file.size(), check.plain_crc);
    } else {
        code = report(check, request, path);
    }
    if (code == EXIT_OK && inspect.against_path != nullptr) {
        code = compare_with_firmware(run, check.plain, inspect.against_path);
    }
    if (code == EXIT_OK && inspect.plain_path != nullptr) {
        code = write_plain(run, check, inspect.plain_path, fd);
    }
    return code;
}

}  // namespace

int run_upload_mode(InspectRun& run, const InspectRequest& inspect)
{
    // The positional arguments: the image, then arguments 3 to 7.
    ConvertRequest request;
    request.output = inspect.args[2];
    const std::span<const char* const> args(inspect.args.data() + 3, static_cast<std::size_t>(inspect.arg_count - 3));
    const ArgumentReading reading = read_upload_arguments(args, request);
    if (reading.fault != ArgumentFault::none) {
        print_argument_fault(reading);
        return EXIT_BAD_REQUEST;
    }
    if (warn_arguments(reading)) {
        if (int code = strict_warning_code(run); code != EXIT_OK) {
            return code;
        }
    }
    const char* path = request.output;
    int fd = -1;
    int code = open_inspected(path, fd);
    if (code != EXIT_OK) {
        return code;
    }
    code = inspect_upload_file(run, inspect, request, fd);
    ::close(fd);
    return code;
}
