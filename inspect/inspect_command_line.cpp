#include "inspect/inspect_command_line.hpp"

#include <cstdio>
#include <string_view>

#include "inspect/inspect_messages.hpp"

namespace {

constexpr char USAGE[] =
    "Usage: KorvaneInspect [-C DIR] MODE ARGUMENTS: what the device gets from the Korvane tools\n"
    "  -C DIR: every relative path is taken from DIR\n"
    "  KorvaneInspect image CONTROL IMAGE\n"
    "      list a collection image as the control file lays it out, check it, and\n"
    "      compare each file with its entry and its file (from the working folder)\n"
    "  KorvaneInspect upload IMAGE ARG3 [ARG4 [ARG5 [ARG6 [ARG7]]]] [--plain FILE]\n"
    "                [--against FILE]\n"
    "      check an upload image with arguments 3 to 7 of the KorvaneConvert call\n"
    "      that made it (-b: a plain image); --plain FILE writes the plain image;\n"
    "      --against FILE compares it with the image KorvaneConvert makes of FILE\n"
    "  KorvaneInspect glcd FILE.c [NAME] [--ascii] [--pbm DIR]\n"
    "      draw the GLCD arrays of a C file, or the one named; --ascii draws with\n"
    "      # and ., --pbm writes DIR/NAME.pbm files instead\n"
    "  KorvaneInspect layout CONTROL HEADER\n"
    "      write the layout values and identifiers of a control file as a C header\n"
    "  KorvaneInspect -v     the version line\n"
    "Exit codes: 0 every check passes, 1 a file cannot be read, 2 an output cannot\n"
    "be written, 3 a bad command line, 4 not a file of its kind, 5 a check fails,\n"
    "12 KORVANE_STRICT=1 and a warning.\n"
    "Details: man KorvaneInspect\n";

struct ModeForm {
    std::string_view word;
    InspectMode mode;
    int least;  // positional arguments the mode needs
    int most;   // and takes
    const char* form;
};

constexpr ModeForm MODES[] = {
    {"image", InspectMode::image, 2, 2, "KorvaneInspect image CONTROL IMAGE"},
    {"upload", InspectMode::upload, 2, MAX_POSITIONAL, "KorvaneInspect upload IMAGE ARG3 [ARG4 ...]"},
    {"glcd", InspectMode::glcd, 1, 2, "KorvaneInspect glcd FILE.c [NAME]"},
    {"layout", InspectMode::layout, 2, 2, "KorvaneInspect layout CONTROL HEADER"},
};

struct OptionForm {
    std::string_view word;
    InspectMode mode;
    bool takes_value;
};

constexpr OptionForm OPTIONS[] = {
    {"--plain", InspectMode::upload, true},
    {"--against", InspectMode::upload, true},
    {"--ascii", InspectMode::glcd, false},
    {"--pbm", InspectMode::glcd, true},
};

int refuse()
{
    print_usage(false);
    return EXIT_BAD_REQUEST;
}

void take_option(const OptionForm& option, const char* value, InspectRequest& request)
{
    if (option.word == "--plain") {
        request.plain_path = value;
    } else if (option.word == "--against") {
        request.against_path = value;
    } else if (option.word == "--pbm") {
        request.pbm_folder = value;
    } else {
        request.ascii = true;
    }
}

}  // namespace

void print_usage(bool to_standard_output)
{
    std::fputs(USAGE, to_standard_output ? stdout : stderr);
}

int read_inspect_request(int argc, char** argv, InspectRequest& request)
{
    if (argc < 2) {
        std::printf("%s", MSG_MODE_MISSING);
        return refuse();
    }
    const std::string_view word = argv[1];
    if (word == "-v" || word == "--help") {
        request.mode = word == "-v" ? InspectMode::version : InspectMode::help;
        return EXIT_OK;
    }
    const ModeForm* form = nullptr;
    for (const ModeForm& mode : MODES) {
        if (mode.word == word) {
            form = &mode;
        }
    }
    if (form == nullptr) {
        std::printf(MSG_MODE_UNKNOWN, argv[1]);
        return refuse();
    }
    request.mode = form->mode;
    request.args[0] = argv[0];
    request.args[1] = argv[1];
    request.arg_count = 2;
    for (int i = 2; i < argc; ++i) {
        const OptionForm* option = nullptr;
        for (const OptionForm& known : OPTIONS) {
            if (known.word == argv[i]) {
                option = &known;
            }
        }
        if (option == nullptr) {
            if (request.arg_count - 2 == form->most) {
                std::printf(MSG_ARGUMENT_EXTRA, argv[i], argv[1]);
                return refuse();
            }
            request.args[static_cast<std::size_t>(request.arg_count++)] = argv[i];
        } else if (option->mode != form->mode) {
            std::printf(MSG_OPTION_NOT_HERE, argv[i], argv[1]);
            return refuse();
        } else if (option->takes_value && i + 1 == argc) {
            std::printf(MSG_OPTION_VALUE_MISSING, argv[i]);
            return refuse();
        } else {
            take_option(*option, option->takes_value ? argv[++i] : nullptr, request);
        }
    }
    if (request.arg_count - 2 < form->least) {
        std::printf(MSG_ARGUMENTS_MISSING, form->form);
        return refuse();
    }
    return EXIT_OK;
}
