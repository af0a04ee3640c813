#include "convert/diagnostics.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "convert/convert_run.hpp"
#include "convert/messages.hpp"
#include "formats/firmware_input.hpp"
#include "formats/upload_arguments.hpp"

// Standard output is flushed first, so that where both streams share a
// terminal or a log the lines stand in the order they were printed.

void explain_input_not_opened(const char* path)
{
    const char* reason = std::strerror(errno);
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneConvert: cannot open input file %s: %s\n", path, reason);
}

void explain_input_not_read(const char* path)
{
    const char* reason = std::strerror(errno);
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneConvert: cannot read input file %s: %s\n", path, reason);
}

void explain_output_not_created(const char* path)
{
    const char* reason = std::strerror(errno);
    std::fflush(stdout);
    if (path == nullptr) {
        std::fprintf(stderr, "KorvaneConvert: no output file given\n");
    } else {
        std::fprintf(stderr, "KorvaneConvert: cannot create output file %s: %s\n", path, reason);
    }
}

namespace {

// n with a comma between groups of three digits: 260,516.
const char* grouped(unsigned long long n, char (&text)[32])
{
    char digits[24];
    const int count = std::snprintf(digits, sizeof digits, "%llu", n);
    int out = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) {
            text[out++] = ',';
        }
        text[out++] = digits[i];
    }
    text[out] = '\0';
    return text;
}

}  // namespace

void note_input_read(const char* path, const FirmwareInput& examined)
{
    const Placement& place = examined.place;
    char pieces[32];
    char bytes[32];
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneConvert: %s read as %s: %s %s%s, 0x%08llX to 0x%08llX (%s bytes)\n", path,
                 input_format_name(examined.format), grouped(place.pieces, pieces), input_piece_name(examined.format),
                 place.pieces == 1 ? "" : "s", static_cast<unsigned long long>(place.low),
                 static_cast<unsigned long long>(place.high - 1), grouped(examined.image_length, bytes));
}

void warn_input(const char* path, unsigned long long offset, const char* what)
{
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneConvert: warning: %s (%s, offset 0x%llX)\n", what, path, offset);
}

bool warn_doubtful_input(const char* path, const FirmwareInput& examined)
{
    char what[160];
    if (examined.doubt == InputDoubt::broken_off) {
        std::snprintf(what, sizeof what,
                      "the input starts as %u complete records, then record %u runs past its end; it is converted "
                      "as a flat image",
                      static_cast<unsigned>(examined.doubt_records), static_cast<unsigned>(examined.doubt_records + 1));
        warn_input(path, examined.doubt_offset, what);
    } else if (examined.doubt == InputDoubt::all_empty) {
        std::snprintf(what, sizeof what, "the input reads as %u records that all hold no data",
                      static_cast<unsigned>(examined.doubt_records));
        warn_input(path, 0, what);
    }
    return examined.doubt != InputDoubt::none;
}

bool warn_arguments(const ArgumentReading& reading)
{
    for (std::size_t i = 0; i < reading.note_count; ++i) {
        const ArgumentNote& note = reading.notes[i];
        std::fflush(stdout);
        std::fprintf(stderr, "KorvaneConvert: warning: %s (argument %d)\n", describe_argument_note(note).data(),
                     note.argument);
    }
    return reading.note_count > 0;
}

int strict_warning_code(const ConvertRun& run)
{
    if (!run.strict) {
        return EXIT_OK;
    }
    std::printf("%s", MSG_STRICT_WARNING);
    return EXIT_STRICT_WARNING;
}
