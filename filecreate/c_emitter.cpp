#include "filecreate/c_emitter.hpp"

#include <algorithm>
#include <cstring>

#include "io/file_access.hpp"
#include "io/file_read.hpp"
#include "control/run_flags.hpp"
#include "formats/value_text.hpp"
#include "formats/white_space.hpp"

namespace {

constexpr char UNNAMED_HEAD[] = "static const unsigned char array[] = {\r\n";
constexpr char NAMED_HEAD_START[] = "static const unsigned char ";
constexpr char NAMED_HEAD_END[] = "[] = {\r\n";
constexpr char ARRAY_END[] = "};\r\n\n";

constexpr std::size_t CHUNK = 32;
constexpr std::size_t STREAM_PIECE = 64 * 1024;  // a multiple of CHUNK
// File arrays are written with lower-case digits.
constexpr const ValueTexts& VALUE_TEXTS = VALUE_TEXTS_LOWER;
constexpr std::size_t VALUE_TEXT = VALUE_TEXT_SIZE;

// Room for one line of the array in the C source's buffer: the texts, the
// line end and the spare bytes of the last 8-byte text copy.
constexpr std::size_t LINE_ROOM = CHUNK * VALUE_TEXT + 2 + VALUE_TEXT_SPARE;

// Formats one line of values straight into the C source's buffer.
void put_line(OutFile& c_source, const unsigned char* values, std::size_t count)
{
    char* start = reinterpret_cast<char*>(out_room(c_source, LINE_ROOM));
    char* p = put_value_texts(start, values, count, VALUE_TEXTS);
    *p++ = '\r';
    *p++ = '\n';
    out_commit(c_source, static_cast<std::size_t>(p - start));
}

// Writes all chunks unchanged: every input byte is a value and goes to the image.
void emit_plain(std::span<const unsigned char> bytes, OutFile& c_source, OutFile& image)
{
    for (std::size_t start = 0; start < bytes.size(); start += CHUNK) {
        put_line(c_source, bytes.data() + start, std::min(CHUNK, bytes.size() - start));
    }
    out_put(image, bytes.data(), bytes.size());
}

// Keeps only the first byte of every run of white space. The marker of the
// previous emitted byte lives across chunks, so a run may span two lines; a
// dropped byte still takes its place in its chunk. Dropped bytes are compacted
// in place so that the image receives the kept bytes in one piece. Returns the
// number of bytes kept. after_space carries the marker from piece to piece.
std::size_t emit_squeezed(std::span<unsigned char> bytes, bool& after_space, OutFile& c_source, OutFile& image)
{
    std::size_t kept = 0;
    for (std::size_t start = 0; start < bytes.size(); start += CHUNK) {
        std::size_t n = std::min(CHUNK, bytes.size() - start);
        std::size_t got = squeeze_white_space(bytes.data() + start, n, bytes.data() + kept, after_space);
        put_line(c_source, bytes.data() + kept, got);
        kept += got;
    }
    out_put(image, bytes.data(), kept);
    return kept;
}

}  // namespace

EmitStatus take_input(std::span<unsigned char, INPUT_BUFFER_SIZE> input_buffer, int input_fd, TakenInput& input)
{
    input = TakenInput{input_fd, 0, false};
    if (regular_file_size(input_fd, input.size) && input.size != 0) {
        return input.size > INPUT_BUFFER_SIZE ? EmitStatus::too_large : EmitStatus::ok;
    }
    input.buffered = true;
    switch (read_whole(input_fd, input_buffer, input.size)) {
    case ReadStatus::failed:
        return EmitStatus::read_failed;
    case ReadStatus::too_large:
        return EmitStatus::too_large;
    case ReadStatus::ok:
        break;
    }
    return EmitStatus::ok;
}

EmitStatus emit_taken_input(std::span<unsigned char, INPUT_BUFFER_SIZE> input_buffer, UserTable& table,
                            const TakenInput& input, OutFile& c_source, const char* array_name, std::uint32_t flags,
                            OutFile& image)
{
    if (table.length_count == MAX_FILES) {
        return EmitStatus::too_many_files;
    }
    if (array_name == nullptr) {
        out_put(c_source, UNNAMED_HEAD);
    } else {
        out_put(c_source, NAMED_HEAD_START);
        out_put(c_source, array_name);
        out_put(c_source, NAMED_HEAD_END);
    }
    const bool squeeze = (flags & OPT_SQUEEZE_SPACE) != 0;
    bool after_space = false;
    std::size_t total = 0;
    std::size_t emitted = 0;
    auto emit_piece = [&](std::span<unsigned char> bytes) {
        total += bytes.size();
        if (squeeze) {
            emitted += emit_squeezed(bytes, after_space, c_source, image);
        } else {
            emit_plain(bytes, c_source, image);
            emitted += bytes.size();
        }
    };
    if (input.buffered) {
        emit_piece(std::span<unsigned char>(input_buffer.data(), input.size));
    } else {
        // A regular file is streamed in pieces, so that a large input never
        // has to be paged into the whole buffer. Pieces are whole multiples of
        // the 32-byte line, so lines come out exactly as from one buffer.
        while (total < input.size) {
            std::size_t room = std::min(STREAM_PIECE, input.size - total);
            std::size_t got = 0;
            if (read_up_to(input.fd, std::span<unsigned char>(input_buffer.data(), room), got) != ReadStatus::ok) {
                return EmitStatus::read_failed;
            }
            emit_piece(std::span<unsigned char>(input_buffer.data(), got));
            if (got < room) {
                break;  // the file shrank meanwhile: what was there is converted
            }
        }
    }
    table.lengths[table.length_count++] = static_cast<std::uint32_t>(emitted);
    out_put(c_source, ARRAY_END);
    return EmitStatus::ok;
}

EmitStatus emit_file_array(std::span<unsigned char, INPUT_BUFFER_SIZE> input_buffer, UserTable& table, int input_fd,
                           OutFile& c_source, const char* array_name, std::uint32_t flags, OutFile& image)
{
    if (table.length_count == MAX_FILES) {
        return EmitStatus::too_many_files;
    }
    TakenInput input;
    EmitStatus taken = take_input(input_buffer, input_fd, input);
    if (taken != EmitStatus::ok) {
        return taken;
    }
    return emit_taken_input(input_buffer, table, input, c_source, array_name, flags, image);
}
