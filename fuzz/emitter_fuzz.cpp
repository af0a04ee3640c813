// Arbitrary bytes as an input file of the emitter, squeezing on and off,
// checked against the rule that the image holds exactly the array's values;
// then the image's closing part for that file, read back without a fault,
// and the same bytes read as an image of each layout, which must never
// reach outside them.
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

#include "formats/collection_layout.hpp"
#include "io/file_read.hpp"
#include "fuzz/fuzz_support.hpp"
#include "filecreate/run_record.hpp"

namespace {

void read_as_image(const std::uint8_t* data, std::size_t size, std::uint8_t layout_bits)
{
    CollectionLayout layout{0x20000000u + (layout_bits >> 4), (layout_bits & 1) != 0, (layout_bits & 2) != 0,
                            (layout_bits & 4) != 0};
    std::array<CollectionRecord, 4> records{};
    CollectionReading reading = read_collection_image({data, size}, layout, records);
    for (std::size_t i = 0; reading.fault == CollectionFault::none && i < reading.count; ++i) {
        const CollectionRecord& r = records[i];
        if (r.data.data() < data || r.data.data() + r.data.size() > data + size ||
            reinterpret_cast<const std::uint8_t*>(r.entry.name.data()) < data ||
            reinterpret_cast<const std::uint8_t*>(r.entry.name.data() + r.entry.name.size()) >= data + size) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The input buffer and outputs are reused; the table that the emitter
    // fills is fresh for every input.
    static auto run = std::make_unique<FileCreateRun>();
    fuzz_scratch();
    if (size < 1) {
        return 0;
    }
    read_as_image(data + 1, size - 1, data[0]);
    auto fresh_table = std::make_unique<UserTable>();
    UserTable& table = *fresh_table;
    const std::uint32_t flags = data[0] & OPT_SQUEEZE_SPACE;
    std::string path = fuzz_write("in.bin", data + 1, size - 1);
    std::string image_path = fuzz_scratch() + "/image.bin";
    out_attach(run->c_source, ::open("/dev/null", O_WRONLY));
    out_attach(run->image, ::open(image_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    int in_fd = ::open(path.c_str(), O_RDONLY);
    EmitStatus status = emit_file_array(run->input, table, in_fd, run->c_source, "_x", flags, run->image);
    ::close(in_fd);
    out_close(run->c_source);
    if (status != EmitStatus::ok) {
        out_close(run->image);
        return 0;
    }
    // Lengths over 65,535 need 4-byte fields to read back.
    CollectionLayout layout{0x1000, (data[0] & 2) != 0, table.lengths[0] > 0xFFFF || (data[0] & 4) != 0,
                            (data[0] & 8) != 0};
    CollectionEntry entry{"in.bin", "_x", data[0], 1, table.lengths[0]};
    CollectionTail tail = write_collection_tail({&entry, 1}, layout, run->input);
    out_put(run->image, run->input.data(), tail.size);
    out_close(run->image);
    std::vector<unsigned char> image(table.lengths[0] + tail.size);
    int fd = ::open(image_path.c_str(), O_RDONLY);
    std::size_t got = 0;
    ReadStatus read = read_whole(fd, image, got);
    ::close(fd);
    std::array<CollectionRecord, 1> records{};
    CollectionReading reading = read_collection_image(image, layout, records);
    if (table.length_count != 1 || (flags == 0 && table.lengths[0] != size - 1) ||
        read != ReadStatus::ok || got != image.size() || reading.fault != CollectionFault::none ||
        records[0].data.size() != table.lengths[0]) {
        __builtin_trap();
    }
    return 0;
}
