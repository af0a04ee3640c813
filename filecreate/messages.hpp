// Exit codes, version and the messages of KorvaneFileCreate. Every text here
// is printed to standard output byte for byte; build scripts and stored logs
// rely on them, so they change only together with the tests that hold them.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "control/control_file.hpp"

// Build scripts test these codes: 0 to 9 name what failed, 10 an input
// beyond a fixed capacity of the tool, 11 an array name that C cannot use.
constexpr int EXIT_OK = 0;
constexpr int EXIT_CONTROL_FILE_MISSING = 1;
constexpr int EXIT_ENTRY_FILE_MISSING = 2;
constexpr int EXIT_INPUT_FILE_MISSING = 3;
constexpr int EXIT_OUTPUT_FAILED = 4;
constexpr int EXIT_BITMAP_MISSING = 5;
constexpr int EXIT_NOT_BITMAP = 6;
constexpr int EXIT_BITMAP_COMPRESSED = 7;
constexpr int EXIT_BITMAP_FORMAT = 8;
constexpr int EXIT_BITMAP_OUTPUT_FAILED = 9;
constexpr int EXIT_CAPACITY = 10;
constexpr int EXIT_ARRAY_NAME_UNUSABLE = 11;
constexpr int EXIT_STRICT_WARNING = 12;  // KORVANE_STRICT=1 and a warning

// The program and its version, as the bitmap banner names it.
constexpr std::string_view PROGRAM_VERSION = "KorvaneFileCreate V1.9";

namespace version_detail {
constexpr std::string_view LEAD = "      ";
constexpr std::string_view TAIL = "\r\r\n";
constexpr auto make_version_line()
{
    std::array<char, LEAD.size() + PROGRAM_VERSION.size() + TAIL.size() + 1> line{};
    std::size_t n = 0;
    for (std::string_view part : {LEAD, PROGRAM_VERSION, TAIL}) {
        for (char c : part) {
            line[n++] = c;
        }
    }
    return line;
}
constexpr auto VERSION_LINE_TEXT = make_version_line();
}  // namespace version_detail

// Printed by -v and as the tail of the closing lines of the control-file
// modes: six blanks, program and version, CR CR LF.
constexpr const char* VERSION_LINE = version_detail::VERSION_LINE_TEXT.data();

// Command line and single-file mode.
constexpr char MSG_ARGUMENTS_MISSING[] = "Arguments missing";
constexpr char MSG_INPUT_NOT_FOUND[] = "Input file could not be found. Terminating\n\n";
constexpr char MSG_SINGLE_FILE_DONE[] = "Output file %s successfully generated\n\n";
constexpr char MSG_ARRAY_NAME_UNUSABLE[] =
    "Array name %s (argument 3) is not a C identifier or is reserved. Terminating\n\n";
constexpr char MSG_INPUT_TOO_LARGE[] = "Input file %s larger than %zu bytes. Terminating\n\n";

// KORVANE_STRICT=1: the warning just printed on standard error ends the run.
constexpr char MSG_STRICT_WARNING[] = "Warning treated as an error (KORVANE_STRICT=1). Terminating\n\n";

// Outputs, in every mode.
constexpr char MSG_OUTPUT_NOT_CREATED[] = "Output file could not be created. Terminating\n\n";
constexpr char MSG_WRITE_FAILED[] = "Output file write failed. Terminating\n\n";

// Creating an output truncates it; a run refuses an output that is one of its
// inputs under any name.
void print_same_file_as_input(const char* output_path);

// The capacity of the control file that a line exceeds.
void print_over_capacity(ControlLimit limit, unsigned line);

// The control-file loop (-f and -fb).
constexpr char MSG_CONTROL_NOT_FOUND[] = "Control file could not be found. Terminating\n\n";
constexpr char MSG_ENTRY_NOT_FOUND[] = "Specified input file number %i not found. Terminating\n\n";
constexpr char MSG_ENTRY_IS_OUTPUT[] = "Specified input file number %i is an output file of this run. Terminating\n\n";
constexpr char MSG_ENTRY_REFUSED[] = "Specified input file number %i %s. Terminating\n\n";
constexpr char WHY_TOO_MANY_FILES[] = "exceeds the limit of 128 files";
constexpr char WHY_PATH_MARKS[] = "has a comma or a double quote in its path";
constexpr char WHY_IDENTIFIER_MARKS[] = "has a comma or a brace in an identifier";
constexpr char WHY_TABLE_FULL[] = "does not fit into the table text";
constexpr char WHY_ARRAY_NAME_TAKEN[] = "has an array name that is taken, also with its number appended";
constexpr char WHY_ARRAY_NAME_UNUSABLE[] = "has an array name that is not a C identifier or is reserved";
constexpr char WHY_TOO_MANY_BITMAPS[] = "exceeds the limit of 4096 bitmaps";

// Capacities of the control file, with the line that exceeds one.
constexpr char MSG_TOO_MANY_DEFINITIONS[] = "Control file line %u: more than 64 definitions. Terminating\n\n";
constexpr char MSG_DEFINITION_NAME_TOO_LONG[] =
    "Control file line %u: definition name longer than 255 characters. Terminating\n\n";
constexpr char MSG_NUMBER_TOO_LONG[] = "Control file line %u: number longer than 255 characters. Terminating\n\n";
constexpr char MSG_PATH_TOO_LONG[] = "Control file line %u: path longer than 126 characters. Terminating\n\n";
constexpr char MSG_MIME_TOO_LONG[] =
    "Control file line %u: MIME-type identifier longer than 31 characters. Terminating\n\n";
constexpr char MSG_VISIBILITY_TOO_LONG[] =
    "Control file line %u: visibility identifier longer than 127 characters. Terminating\n\n";

// The file-collection run (-f).
constexpr char MSG_C_SOURCE_NAME_TOO_LONG[] = "C source file name for %s longer than 99 characters. Terminating\n\n";
constexpr char MSG_NEEDS_FOUR_BYTE_LENGTHS[] =
    "Input file %s longer than 65535 bytes needs #define MAX_FILE_LENGTH 4. Terminating\n\n";
constexpr char MSG_ADDING_FILE[] = "Adding file %s \n";
constexpr char MSG_COLLECTION_DONE[] = "Output files %s and %s successfully created using%s\n";
constexpr char MSG_TARGET_ADDRESS[] = "Embedded user file collection target address = 0x%x\n";
constexpr char MSG_TABLE_LOCATION[] = "Embedded user table location = 0x%x\n\n\n";

// The bitmap-collection run (-fb).
constexpr char MSG_BITMAP_COLLECTION_DONE[] = "Output file %s successfully created using%s\n";
