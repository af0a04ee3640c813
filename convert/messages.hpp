// Everything KorvaneConvert says and how it ends: the banner, the messages on
// standard output and the exit codes. Build scripts read these; they do not
// change.
#pragma once

#include <cstdint>
#include <cstdio>

// Exit codes. Build scripts test 0 to 2; 3 means a bad command line or an
// input beyond capacity, which is refused rather than converted silently.
constexpr int CONVERT_OK = 0;
constexpr int CONVERT_INPUT_OR_WRITE_FAILED = 1;  // input unreadable, no memory, a failed write
constexpr int CONVERT_OUTPUT_FAILED = 2;          // output cannot be created, or is the input
constexpr int CONVERT_BAD_REQUEST = 3;            // a bad argument, an input beyond capacity, refused records

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

inline void say(const char* message)
{
    std::fputs(message, stdout);
}

// The messages that carry a value.
inline void say_same_file(const char* output)
{
    std::printf("Output file %s is the same file as the input. Terminating\n\n", output);
}

inline void say_input_too_large(std::uint32_t limit)
{
    std::printf("Input file larger than %u bytes. Terminating\n\n", static_cast<unsigned>(limit));
}

inline void say_argument_empty(int position)
{
    std::printf("Argument %d is empty. Terminating\n\n", position);
}

inline void say_odd_digits(int position)
{
    std::printf("Argument %d holds an odd number of hex digits. Terminating\n\n", position);
}

inline void say_word_short(int position)
{
    std::printf("Argument %d needs four hex digits after its first character. Terminating\n\n", position);
}

// A complete record stream whose image would reach the limit, or one of whose
// records lies below the image already placed: refused rather than shipped
// raw, where the device would boot the records as code.
inline void say_records_too_large(std::uint32_t last_record, std::uint64_t needed, std::uint32_t largest)
{
    std::printf("Input records 1 to %u need an image of %llu bytes; the limit is %u. Terminating\n\n",
                static_cast<unsigned>(last_record), static_cast<unsigned long long>(needed),
                static_cast<unsigned>(largest));
}

inline void say_record_overlaps(std::uint32_t record, std::uint32_t address)
{
    std::printf("Input record %u at address 0x%08X overlaps the image before it. Terminating\n\n",
                static_cast<unsigned>(record), static_cast<unsigned>(address));
}

// An input read as ELF, Intel HEX or S-records that cannot be converted:
// refused with the line or byte offset of its first fault.
inline void say_input_fault(const char* path, const char* format, bool at_offset, unsigned long long where,
                            const char* fault)
{
    if (at_offset) {
        std::printf("Input file %s read as %s, offset 0x%llX: %s. Terminating\n\n", path, format, where, fault);
    } else {
        std::printf("Input file %s read as %s, line %llu: %s. Terminating\n\n", path, format, where, fault);
    }
}
