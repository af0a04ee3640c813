#include "convert/command_line.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "convert/convert_run.hpp"
#include "convert/diagnostics.hpp"
#include "convert/messages.hpp"

namespace {

void print_argument_fault(ArgumentReading reading)
{
    switch (reading.fault) {
    case ArgumentFault::mode_missing: std::printf("%s", MSG_MODE_MISSING); break;
    case ArgumentFault::magic_short: std::printf("%s", MSG_MAGIC_SHORT); break;
    case ArgumentFault::empty: std::printf(MSG_ARGUMENT_EMPTY, reading.argument); break;
    case ArgumentFault::odd_digits: std::printf(MSG_ODD_DIGITS, reading.argument); break;
    case ArgumentFault::word_short: std::printf(MSG_WORD_SHORT, reading.argument); break;
    case ArgumentFault::none: break;
    }
}

}  // namespace

int read_request(ConvertRun& run, int argc, char** argv, ConvertRequest& request)
{
    // A build asks for warnings to be errors through the environment; read once, here.
    const char* strict = std::getenv("KORVANE_STRICT");
    run.strict = strict != nullptr && std::strcmp(strict, "1") == 0;
    request.input = argv[1];
    request.output = argc > 2 ? argv[2] : nullptr;
    if (request.output == nullptr) {
        explain_output_not_created(nullptr);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    const std::size_t given = static_cast<std::size_t>(std::clamp(argc - 3, 0, 5));
    const ArgumentReading reading = read_upload_arguments(std::span<const char* const>(argv + 3, given), request);
    if (reading.fault != ArgumentFault::none) {
        print_argument_fault(reading);
        return EXIT_BAD_REQUEST;
    }
    return warn_arguments(reading) ? strict_warning_code(run) : EXIT_OK;
}
