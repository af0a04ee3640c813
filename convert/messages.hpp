// Everything KorvaneConvert says and how it ends: the banner, the messages on
// standard output (printed with std::printf) and the exit codes. Build scripts read these; they do not
// change.
#pragma once


// Exit codes. Build scripts test 0 to 2; 3 means a bad command line or an
// input beyond capacity, which is refused rather than converted silently.
constexpr int EXIT_OK = 0;
constexpr int EXIT_INPUT_OR_WRITE_FAILED = 1;  // input unreadable, no memory, a failed write
constexpr int EXIT_OUTPUT_FAILED = 2;          // output cannot be created, or is the input
constexpr int EXIT_BAD_REQUEST = 3;            // a bad argument, an input beyond capacity, refused records
constexpr int EXIT_STRICT_WARNING = 12;        // KORVANE_STRICT=1 and a warning, as in KorvaneFileCreate

constexpr char CONVERT_BANNER[] =
    "      KorvaneConvert V1.8 - supporting encryption and Motorola binary format [2M binary support]\r\r\n";

constexpr char MSG_INPUT_NOT_FOUND[] = "Input file could not be found. Terminating\n\n";
constexpr char MSG_OUTPUT_NOT_CREATED[] = "Output file could not be created. Terminating\n\n";
constexpr char MSG_NO_MEMORY[] = "Memory could not be obtained. Terminating\n\n";
constexpr char MSG_WRITE_FAILED[] = "Output file write failed. Terminating\n\n";
constexpr char MSG_MODE_MISSING[] = "Argument 3 (mode and image magic) missing. Terminating\n\n";
constexpr char MSG_MAGIC_SHORT[] =
    "Argument 3 needs four hex digits of image magic from its fourth character. Terminating\n\n";
constexpr char MSG_NO_KEY_BYTES[] = "Argument 5 holds no key bytes for a non-empty image. Terminating\n\n";
constexpr char MSG_ROTATION_TOO_LONG[] = "Argument 7 rotates by more bytes than the image holds. Terminating\n\n";

// KORVANE_STRICT=1: the warning just printed on standard error ends the run.
constexpr char MSG_STRICT_WARNING[] = "Warning treated as an error (KORVANE_STRICT=1). Terminating\n\n";

// The messages that carry a value.
constexpr char MSG_SAME_FILE[] = "Output file %s is the same file as the input. Terminating\n\n";
constexpr char MSG_INPUT_TOO_LARGE[] = "Input file larger than %u bytes. Terminating\n\n";
constexpr char MSG_ARGUMENT_EMPTY[] = "Argument %d is empty. Terminating\n\n";
constexpr char MSG_ODD_DIGITS[] = "Argument %d holds an odd number of hex digits. Terminating\n\n";
constexpr char MSG_WORD_SHORT[] = "Argument %d needs four hex digits after its first character. Terminating\n\n";

// A complete record stream whose image would reach the limit, or one of whose
// records lies below the image already placed: refused rather than shipped
// raw, where the device would boot the records as code.
constexpr char MSG_RECORDS_TOO_LARGE[] =
    "Input records 1 to %u need an image of %llu bytes; the limit is %u. Terminating\n\n";
constexpr char MSG_RECORD_OVERLAPS[] = "Input record %u at address 0x%08X overlaps the image before it. Terminating\n\n";

// An input read as ELF (a byte offset) or as Intel HEX or S-records (a line)
// that cannot be converted: refused at its first fault.
constexpr char MSG_INPUT_FAULT_AT_OFFSET[] = "Input file %s read as %s, offset 0x%llX: %s. Terminating\n\n";
constexpr char MSG_INPUT_FAULT_ON_LINE[] = "Input file %s read as %s, line %llu: %s. Terminating\n\n";
