#include "convert/convert_run.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "convert/diagnostics.hpp"
#include "io/file_access.hpp"
#include "io/file_read.hpp"
#include "io/staged_outputs.hpp"
#include "convert/messages.hpp"
#include "formats/firmware_input.hpp"
#include "formats/upload_header.hpp"

namespace {

constexpr std::size_t INPUT_AT = HEADER_ROOM + LEAD_ROOM;  // where the input starts in the buffer

// Makes room for capacity bytes of input, keeping what the buffer holds.
// False (after the message) when there is no memory.
bool obtain_buffer(ConvertRun& run, std::size_t capacity)
{
    if (capacity <= run.capacity && run.buffer != nullptr) {
        return true;
    }
    void* larger = std::realloc(run.buffer, INPUT_AT + capacity);
    if (larger == nullptr) {
        std::printf("%s", MSG_NO_MEMORY);
        return false;
    }
    run.buffer = static_cast<unsigned char*>(larger);
    run.capacity = capacity;
    return true;
}

// Reads the whole input to its place in the buffer. The buffer is sized by what
// the file says it holds, plus one byte so that its end is seen without
// growing; a file that holds more (it grew, or reports 0 like some special
// files) gets room up to the limit. Intel HEX and S-record text takes about
// three characters a byte, so an input that starts as such text may hold up
// to TEXT_INPUT_LIMIT bytes.
int read_input(ConvertRun& run, const char* input_path)
{
    std::size_t size = 0;
    std::size_t want = regular_file_size(run.in_fd, size) && size < TEXT_INPUT_LIMIT ? size : IMAGE_LIMIT;
    std::size_t got = 0;
    ReadStatus status = ReadStatus::ok;
    const auto limit = [&] {
        return got > IMAGE_LIMIT && looks_like_text_records(std::span(run.buffer + INPUT_AT, got)) ? TEXT_INPUT_LIMIT
                                                                                                    : IMAGE_LIMIT;
    };
    for (;;) {
        if (!obtain_buffer(run, want + 1)) {
            return EXIT_INPUT_OR_WRITE_FAILED;
        }
        std::size_t more = 0;
        status = read_up_to(run.in_fd, std::span(run.buffer + INPUT_AT + got, run.capacity - got), more);
        got += more;
        if (status != ReadStatus::ok || got < run.capacity || got > limit()) {
            break;
        }
        want = limit();
    }
    if (status == ReadStatus::failed) {
        explain_input_not_read(input_path);
        std::printf("%s", MSG_INPUT_NOT_FOUND);
        return EXIT_INPUT_OR_WRITE_FAILED;
    }
    if (got > limit()) {
        std::printf(MSG_INPUT_TOO_LARGE, static_cast<unsigned>(limit()));
        return EXIT_BAD_REQUEST;
    }
    run.input_length = got;
    return EXIT_OK;
}

// What cannot be converted once the input is known. The arguments come
// first: a record stream that is refused was, before it was refused, taken
// as its own image, and the arguments were checked against that.
int refuse_image(const ConvertRequest& request, const Flattening& flattening, std::uint32_t image_length)
{
    if (!request.plain && request.keyed && request.keys.count == 0 && image_length > 0) {
        std::printf("%s", MSG_NO_KEY_BYTES);
        return EXIT_BAD_REQUEST;
    }
    if (!request.plain && request.rotation > image_length) {
        std::printf("%s", MSG_ROTATION_TOO_LONG);
        return EXIT_BAD_REQUEST;
    }
    if (flattening.outcome == FlattenOutcome::too_large) {
        std::printf(MSG_RECORDS_TOO_LARGE, static_cast<unsigned>(flattening.record),
                    static_cast<unsigned long long>(flattening.needed), static_cast<unsigned>(IMAGE_LIMIT - 1));
        return EXIT_BAD_REQUEST;
    }
    if (flattening.outcome == FlattenOutcome::overlap) {
        std::printf(MSG_RECORD_OVERLAPS, static_cast<unsigned>(flattening.record),
                    static_cast<unsigned>(flattening.address));
        return EXIT_BAD_REQUEST;
    }
    return EXIT_OK;
}

// Turns the input in the buffer into the image and returns where the image
// starts (with at least HEADER_ROOM bytes in front), or nullptr when there is
// no memory. A record image starts as far before the input as it runs ahead
// of it; beyond LEAD_ROOM the input is first moved back to make that room.
unsigned char* make_image(ConvertRun& run, const Flattening& flattening)
{
    if (run.toolchain_image != nullptr) {
        return run.toolchain_image + HEADER_ROOM;
    }
    unsigned char* input = run.buffer + INPUT_AT;
    if (flattening.outcome != FlattenOutcome::records) {
        return input;  // the input is the image
    }
    if (flattening.lead > LEAD_ROOM) {
        const std::size_t move = flattening.lead - LEAD_ROOM;
        if (!obtain_buffer(run, move + run.input_length)) {
            return nullptr;
        }
        input = run.buffer + INPUT_AT;
        std::memmove(input + move, input, run.input_length);
        input += move;
    }
    unsigned char* image = input - flattening.lead;
    flatten_in_place(image, std::span(input, run.input_length), flattening);
    return image;
}

// ELF, Intel HEX and S-records: the input checked and its image made, over
// the input where the pieces allow it and in a buffer of its own otherwise,
// or refused. Records and flat images only get their warning here; they are
// made in place later.
int read_toolchain_output(ConvertRun& run, FirmwareInput& examined, const char* path)
{
    const auto refuse = [&] {
        std::printf(fault_at_offset(examined.format) ? MSG_INPUT_FAULT_AT_OFFSET : MSG_INPUT_FAULT_ON_LINE, path,
                    input_format_name(examined.format), static_cast<unsigned long long>(examined.place.where),
                    input_fault_text(examined.place.fault));
        return EXIT_BAD_REQUEST;
    };
    if (examined.format == InputFormat::records || examined.format == InputFormat::flat) {
        return warn_doubtful_input(path, examined) ? strict_warning_code(run) : EXIT_OK;
    }
    if (examined.place.fault != InputFault::none) {
        return refuse();
    }
    unsigned char* input = run.buffer + INPUT_AT;
    if (examined.place.in_place) {
        // The image takes the input's place, which has the header room in front.
        make_toolchain_image(std::span(input, run.input_length), examined, input, nullptr);
        note_input_read(path, examined);
        return EXIT_OK;
    }
    const std::size_t work = toolchain_work_size(examined);
    run.toolchain_image = static_cast<unsigned char*>(std::malloc(HEADER_ROOM + examined.image_length + work));
    if (run.toolchain_image == nullptr) {
        std::printf("%s", MSG_NO_MEMORY);
        return EXIT_INPUT_OR_WRITE_FAILED;
    }
    unsigned char* image = run.toolchain_image + HEADER_ROOM;
    make_toolchain_image(std::span(input, run.input_length), examined, image, image + examined.image_length);
    if (examined.place.fault != InputFault::none) {
        return refuse();
    }
    note_input_read(path, examined);
    return EXIT_OK;
}

}  // namespace

int run_conversion(ConvertRun& run, const ConvertRequest& request)
{
    if (int code = read_input(run, request.input); code != EXIT_OK) {
        return code;
    }
    FirmwareInput examined = examine_input(std::span(run.buffer + INPUT_AT, run.input_length));
    if (int code = read_toolchain_output(run, examined, request.input); code != EXIT_OK) {
        return code;
    }
    const Flattening& flattening = examined.flattening;
    const std::uint32_t length = examined.image_length;
    if (int code = refuse_image(request, flattening, length); code != EXIT_OK) {
        return code;
    }
    unsigned char* image = make_image(run, flattening);
    if (image == nullptr) {
        return EXIT_INPUT_OR_WRITE_FAILED;
    }

    UploadHeader header;
    header.image_length = length;
    header.magic = request.magic;
    header.keyed = request.keyed;
    const std::size_t header_size = request.plain ? 0 : upload_header_size(header);
    const RotatedImage parts = rotated_parts(std::span(image, length), request.rotation);
    if (!request.plain) {
        const std::span<const unsigned char> suffix(request.suffix.bytes.data(), request.suffix.count);
        if (request.keyed) {
            header.plain_crc = upload_crc(std::span(image, length), {}, suffix);
            key_stream_start(run.key_stream, std::span(request.keys.bytes.data(), request.keys.count), request.seed);
            key_stream_apply(run.key_stream, image, image, length);
        }
        header.image_crc = upload_crc(parts.first, parts.second, suffix);
    }

    // The output is created only now, so a refused run leaves no file behind.
    if (path_is_open_file(request.output, run.in_fd)) {
        std::printf(MSG_SAME_FILE, request.output);
        return EXIT_OUTPUT_FAILED;
    }
    const int out_fd = stage_output(request.output);
    if (out_fd < 0 && output_refused_as_strict()) {
        return strict_warning_code(run);
    }
    if (out_fd < 0) {
        explain_output_not_created(request.output);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    // The header goes into the room in front of the image, and the image
    // leaves from where it lies: in one write, or rotated, its last bytes first.
    if (!request.plain) {
        pack_upload_header(header, image - header_size);
    }
    out_attach(run.out, out_fd);
    if (request.rotation == 0) {
        out_put(run.out, image - header_size, header_size + length);
    } else {
        out_put(run.out, image - header_size, header_size);
        out_put(run.out, parts.first.data(), parts.first.size());
        out_put(run.out, parts.second.data(), parts.second.size());
    }
    if (!out_close(run.out) || !commit_outputs()) {
        std::printf("%s", MSG_WRITE_FAILED);
        return EXIT_INPUT_OR_WRITE_FAILED;
    }
    return EXIT_OK;
}

void free_image_buffers(ConvertRun& run)
{
    std::free(run.buffer);
    run.buffer = nullptr;
    std::free(run.toolchain_image);
    run.toolchain_image = nullptr;
    run.capacity = 0;
}
