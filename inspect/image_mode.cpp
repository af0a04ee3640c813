#include "inspect/image_mode.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <unistd.h>

#include "control/entry_row.hpp"
#include "inspect/control_entries.hpp"
#include "formats/white_space.hpp"
#include "io/file_access.hpp"
#include "io/file_read.hpp"
#include "inspect/image_report.hpp"
#include "inspect/input_file.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/printable.hpp"

namespace {

constexpr unsigned char VISIBILITY_MARK = 0x80;

int read_image(InspectRun& run, const char* image_path)
{
    int fd = -1;
    int code = open_inspected(image_path, fd);
    if (code == EXIT_OK) {
        code = read_inspected(fd, image_path, IMAGE_CAP, run.file);
        ::close(fd);
    }
    return code;
}

// The record's name, type and visibility against the row -f made of the entry.
int compare_with_row(const InspectRun& run, std::size_t i, const char* image_path)
{
    const CollectionEntry& stored = run.records[i].entry;
    const TableRow& row = run.table.rows[i];
    PrintableText name{};
    if (stored.name != row.name.data()) {
        std::printf(MSG_NAME_DIFFERS, i + 1, image_path, printable(stored.name, name), row.name.data());
        return EXIT_MISMATCH;
    }
    const CollectionEntry made = collection_entry_of(run.settings, row, 0);
    const unsigned char type = made.type;
    if (stored.type != type) {
        std::printf(MSG_TYPE_DIFFERS, i + 1, image_path, stored.type, row.mime.data(), type);
        return EXIT_MISMATCH;
    }
    const auto visibility = static_cast<unsigned char>(made.visibility | VISIBILITY_MARK);
    if (stored.visibility != visibility) {
        std::printf(MSG_VISIBILITY_DIFFERS, i + 1, image_path, stored.visibility, row.visibility.data(), visibility);
        return EXIT_MISMATCH;
    }
    return EXIT_OK;
}

// The record's data against the entry's file, squeezed as -w squeezes it.
int compare_with_file(InspectRun& run, std::size_t i, const char* image_path, const char* control_path)
{
    const ControlFileEntry& entry = run.entries[i];
    if (entry.fd < 0) {
        explain_file_error(entry.opened.data(), entry.error);
        std::printf(MSG_ENTRY_NOT_OPENED, i + 1, control_path, entry.opened.data());
        return EXIT_INPUT_FAILED;
    }
    std::size_t size = 0;
    switch (read_whole(entry.fd, run.entry_bytes, size)) {
    case ReadStatus::failed:
        explain_file_error(entry.opened.data(), errno);
        std::printf(MSG_ENTRY_NOT_READ, i + 1, control_path, entry.opened.data());
        return EXIT_INPUT_FAILED;
    case ReadStatus::too_large:
        std::printf(MSG_ENTRY_TOO_LARGE, i + 1, control_path, entry.opened.data(), INPUT_BUFFER_SIZE);
        return EXIT_MISMATCH;
    case ReadStatus::ok:
        break;
    }
    if (entry.squeezed) {
        bool after_space = false;
        size = squeeze_white_space(run.entry_bytes.data(), size, run.entry_bytes.data(), after_space);
    }
    const std::span<const unsigned char> stored = run.records[i].data;
    const char* how = entry.squeezed ? AFTER_SQUEEZING : "";
    const std::size_t common = std::min(size, stored.size());
    auto differ = std::mismatch(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(common),
                                run.entry_bytes.begin());
    if (differ.first != stored.begin() + static_cast<std::ptrdiff_t>(common)) {
        std::printf(MSG_DATA_DIFFERS, i + 1, image_path, entry.opened.data(),
                    static_cast<std::size_t>(differ.first - stored.begin()), how);
        return EXIT_MISMATCH;
    }
    if (size != stored.size()) {
        std::printf(MSG_SIZE_DIFFERS, i + 1, image_path, static_cast<unsigned>(stored.size()), entry.opened.data(),
                    size, how);
        return EXIT_MISMATCH;
    }
    return EXIT_OK;
}

}  // namespace

int compare_with_entries(InspectRun& run, const CollectionReading& reading, const char* image_path,
                         const char* control_path)
{
    const std::size_t pairs = std::min({reading.count, run.entry_count, run.table.row_count});
    std::size_t squeezed = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        int code = compare_with_row(run, i, image_path);
        if (code == EXIT_OK) {
            code = compare_with_file(run, i, image_path, control_path);
        }
        if (code != EXIT_OK) {
            return code;
        }
        squeezed += run.entries[i].squeezed ? 1 : 0;
    }
    if (reading.count != run.entries_listed) {
        std::printf(MSG_COUNT_DIFFERS, image_path, reading.count, control_path, run.entries_listed);
        return EXIT_MISMATCH;
    }
    std::printf(MSG_IMAGE_CHECKED, reading.count, control_path, squeezed);
    return EXIT_OK;
}

int run_image_mode(InspectRun& run, const char* control_path, const char* image_path)
{
    int code = read_image(run, image_path);
    if (code == EXIT_OK) {
        code = read_control_entries(run, control_path);
    }
    if (code != EXIT_OK) {
        return code;
    }
    print_image_layout(run, image_path, control_path);
    const CollectionReading reading = read_collection_image(std::span<const unsigned char>(run.file.data, run.file.size),
                                                            collection_layout_of(run.settings), run.records);
    if (reading.fault != CollectionFault::none) {
        print_image_fault(reading, run, image_path);
        return EXIT_NOT_READABLE;
    }
    print_image_records(reading, run);
    return compare_with_entries(run, reading, image_path, control_path);
}
