#include "convert/command_line.hpp"

#include <algorithm>
#include <span>

#include "convert/diagnostics.hpp"
#include "convert/messages.hpp"

namespace {

void say_argument_fault(ArgumentReading reading)
{
    switch (reading.fault) {
    case ArgumentFault::mode_missing: say(MSG_MODE_MISSING); break;
    case ArgumentFault::magic_short: say(MSG_MAGIC_SHORT); break;
    case ArgumentFault::empty: say_argument_empty(reading.argument); break;
    case ArgumentFault::odd_digits: say_odd_digits(reading.argument); break;
    case ArgumentFault::word_short: say_word_short(reading.argument); break;
    case ArgumentFault::none: break;
    }
}

}  // namespace

int read_request(int argc, char** argv, ConvertRequest& request)
{
    request.input = argv[1];
    request.output = argc > 2 ? argv[2] : nullptr;
    if (request.output == nullptr) {
        explain_output_not_created(nullptr);
        say(MSG_OUTPUT_NOT_CREATED);
        return CONVERT_OUTPUT_FAILED;
    }
    const std::size_t given = static_cast<std::size_t>(std::clamp(argc - 3, 0, 5));
    const ArgumentReading reading = read_upload_arguments(std::span<const char* const>(argv + 3, given), request);
    if (reading.fault != ArgumentFault::none) {
        say_argument_fault(reading);
        return CONVERT_BAD_REQUEST;
    }
    return CONVERT_OK;
}
