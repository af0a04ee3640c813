#include "convert_run.hpp"

#include <cstdlib>
#include <cstring>
#include <span>

#include "crc16.hpp"
#include "file_access.hpp"
#include "file_read.hpp"
#include "image_pieces.hpp"
#include "messages.hpp"
#include "record_flattening.hpp"
#include "upload_header.hpp"

namespace {

// Reads the whole input into run.input behind the header room. The buffer
// is sized by what the file says it holds plus one byte, so that a file of
// the size it says ends without a second buffer; a file that holds more (it
// grew, or reports 0 like some special files) gets a buffer of the limit.
int read_input(ConvertRun& run)
{
    std::size_t size = 0;
    std::size_t capacity = regular_file_size(run.in_fd, size) && size < IMAGE_LIMIT ? size : IMAGE_LIMIT;
    run.input = static_cast<unsigned char*>(std::malloc(HEADER_ROOM + capacity + 1));
    if (run.input == nullptr) {
        say(MSG_NO_MEMORY);
        return CONVERT_INPUT_OR_WRITE_FAILED;
    }
    std::size_t got = 0;
    ReadStatus status = read_up_to(run.in_fd, std::span(run.input + HEADER_ROOM, capacity + 1), got);
    if (status == ReadStatus::ok && got > capacity && capacity < IMAGE_LIMIT) {
        void* larger = std::realloc(run.input, HEADER_ROOM + IMAGE_LIMIT + 1);
        if (larger == nullptr) {
            say(MSG_NO_MEMORY);
            return CONVERT_INPUT_OR_WRITE_FAILED;
        }
        run.input = static_cast<unsigned char*>(larger);
        std::size_t more = 0;
        status = read_up_to(run.in_fd, std::span(run.input + HEADER_ROOM + got, IMAGE_LIMIT + 1 - got), more);
        got += more;
    }
    if (status == ReadStatus::failed) {
        say(MSG_INPUT_NOT_FOUND);
        return CONVERT_INPUT_OR_WRITE_FAILED;
    }
    if (got > IMAGE_LIMIT) {
        say_input_too_large(IMAGE_LIMIT);
        return CONVERT_BAD_REQUEST;
    }
    run.input_length = got;
    return CONVERT_OK;
}

// The image CRC over the two parts of a rotated image, then the suffix.
std::uint16_t rotated_crc(const RotatedImage& parts, const ByteList& suffix)
{
    std::uint16_t crc = crc16_update(0, parts.first.data(), static_cast<std::uint32_t>(parts.first.size()));
    crc = crc16_update(crc, parts.second.data(), static_cast<std::uint32_t>(parts.second.size()));
    return crc16_update(crc, suffix.bytes.data(), suffix.count);
}

// What cannot be converted once the input is known. The arguments come
// first: a record stream that is refused was, before it was refused, taken
// as its own image, and the arguments were checked against that.
int refuse_image(const ConvertRequest& request, const Flattening& flattening)
{
    if (!request.plain && request.keyed && request.keys.count == 0 && flattening.image_length > 0) {
        say(MSG_NO_KEY_BYTES);
        return CONVERT_BAD_REQUEST;
    }
    if (!request.plain && request.rotation > flattening.image_length) {
        say(MSG_ROTATION_TOO_LONG);
        return CONVERT_BAD_REQUEST;
    }
    if (flattening.outcome == FlattenOutcome::too_large) {
        say_records_too_large(flattening.record, flattening.needed, IMAGE_LIMIT - 1);
        return CONVERT_BAD_REQUEST;
    }
    if (flattening.outcome == FlattenOutcome::overlap) {
        say_record_overlaps(flattening.record, flattening.address);
        return CONVERT_BAD_REQUEST;
    }
    return CONVERT_OK;
}

}  // namespace

int run_conversion(ConvertRun& run, const ConvertRequest& request)
{
    if (int code = read_input(run); code != CONVERT_OK) {
        return code;
    }
    const std::span<const unsigned char> input(run.input + HEADER_ROOM, run.input_length);
    const Flattening flattening = flatten_records(input);
    if (int code = refuse_image(request, flattening); code != CONVERT_OK) {
        return code;
    }
    const ImageWalk walk = walk_image(input, flattening);
    const std::uint32_t length = flattening.image_length;

    UploadHeader header;
    header.image_length = length;
    header.magic = request.magic;
    header.keyed = request.keyed;
    const std::size_t header_size = request.plain ? 0 : upload_header_size(header);
    // The image in one buffer with header room in front, or nullptr while it
    // is still the pieces of a record input.
    unsigned char* image = flattening.outcome == FlattenOutcome::pass_through ? run.input + HEADER_ROOM : nullptr;
    if (!request.plain) {
        const ByteList& suffix = request.suffix;
        if (request.keyed) {
            header.plain_crc = crc16_update(pieces_crc(0, walk), suffix.bytes.data(), suffix.count);
            if (image == nullptr) {
                run.image = static_cast<unsigned char*>(std::malloc(HEADER_ROOM + length));
                if (run.image == nullptr) {
                    say(MSG_NO_MEMORY);
                    return CONVERT_INPUT_OR_WRITE_FAILED;
                }
                image = run.image + HEADER_ROOM;
            }
            key_stream_start(run.key_stream, std::span(request.keys.bytes.data(), request.keys.count), request.seed);
            encrypt_pieces(walk, run.key_stream, image);
        }
        header.image_crc = image != nullptr ? rotated_crc(rotated_parts(std::span(image, length), request.rotation), suffix)
                                            : crc16_update(pieces_crc(0, walk), suffix.bytes.data(), suffix.count);
    }

    // The output is created only now, so a refused run leaves no file behind.
    if (path_is_open_file(request.output, run.in_fd)) {
        say_same_file(request.output);
        return CONVERT_OUTPUT_FAILED;
    }
    const int out_fd = create_output(request.output);
    if (out_fd < 0) {
        say(MSG_OUTPUT_NOT_CREATED);
        return CONVERT_OUTPUT_FAILED;
    }
    out_attach(run.out, out_fd);
    unsigned char packed[HEADER_ROOM];
    pack_upload_header(header, packed);
    if (image != nullptr && request.rotation == 0) {
        std::memcpy(image - header_size, packed, header_size);
        out_put(run.out, image - header_size, header_size + length);
    } else if (image != nullptr) {
        // Rotated: the last bytes first, written from where they lie.
        const RotatedImage parts = rotated_parts(std::span(image, length), request.rotation);
        out_put(run.out, packed, header_size);
        out_put(run.out, parts.first.data(), parts.first.size());
        out_put(run.out, parts.second.data(), parts.second.size());
    } else {
        out_put(run.out, packed, header_size);
        put_pieces(run.out, walk);
    }
    if (!out_close(run.out)) {
        say(MSG_WRITE_FAILED);
        return CONVERT_INPUT_OR_WRITE_FAILED;
    }
    return CONVERT_OK;
}

void free_image_buffers(ConvertRun& run)
{
    std::free(run.input);
    std::free(run.image);
    run.input = nullptr;
    run.image = nullptr;
}
