// The device code read against the host: collection images made by
// KorvaneFileCreate and upload images of the golden cases read back, whole and
// after every single-byte change, the upload images fed in random chunks.
#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "formats/collection_layout.hpp"
#include "formats/crc16.hpp"
#include "formats/upload_arguments.hpp"
#include "inspect/upload_check.hpp"
#include "korvane/collection.h"
#include "korvane/glcd.h"
#include "korvane/upload.h"
#include "tests/inspect/inspect_session.hpp"

namespace {

const unsigned char* bytes_of(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

// The device reader agrees with the host reader on image: the same files, or
// (where the host finds a fault) a named fault. Where the host faults only on
// what carries nothing the reader returns (padding, end-of-list zeros, the
// visibility mark), the device may read what the host reads once that is
// undone: image with bit 7 of byte at as in original, or original itself.
// With korvane_collection_check after open, the device refuses exactly what
// the host refuses.
void expect_same_reading(const std::string& image, const CollectionLayout& host_layout, std::uint32_t header_len,
                         const std::string& original = {}, std::size_t at = 0)
{
    std::array<CollectionRecord, 256> records;
    std::string marked = image;
    if (!original.empty()) {
        marked[at] = static_cast<char>((image[at] & 0x7F) | (original[at] & 0x80));
    }
    const std::string* read = &image;
    CollectionReading host = read_collection_image(std::span(bytes_of(image), image.size()), host_layout, records);
    const bool host_refuses = host.fault != CollectionFault::none;
    for (const std::string* undone : std::array<const std::string*, 2>{&marked, &original}) {
        if (host.fault != CollectionFault::none && !original.empty()) {
            read = undone;
            host = read_collection_image(std::span(bytes_of(*read), read->size()), host_layout, records);
        }
    }
    const korvane_layout layout = {host_layout.base - header_len, header_len, host_layout.big_endian,
                                   host_layout.four_byte_lengths, host_layout.align};
    // A copy of exactly the image's size, so that ASan sees any read beyond it.
    std::vector<unsigned char> region(bytes_of(image), bytes_of(image) + image.size());
    korvane_collection c;
    const korvane_collection_fault fault = korvane_collection_open(&c, region.data(),
                                                                   static_cast<std::uint32_t>(region.size()), &layout);
    const korvane_collection_fault checked = korvane_collection_check(&c);  // also after a failed open: ASan watches
    if (fault != KORVANE_COLLECTION_OK) {
        EXPECT_EQ(korvane_collection_count(&c), 0u);
        return;
    }
    EXPECT_EQ(checked != KORVANE_COLLECTION_OK, host_refuses);
    ASSERT_EQ(host.fault, CollectionFault::none);
    ASSERT_EQ(korvane_collection_count(&c), host.count);
    for (std::uint32_t i = 0; i < host.count; ++i) {
        korvane_file f;
        ASSERT_EQ(korvane_collection_file(&c, i, &f), KORVANE_COLLECTION_OK);
        EXPECT_EQ(std::string_view(f.name), records[i].entry.name);
        EXPECT_EQ(f.data - region.data(), records[i].data.data() - bytes_of(*read));
        EXPECT_EQ(f.length, records[i].data.size());
        EXPECT_EQ(f.data_address, records[i].data_address);
        EXPECT_EQ(f.type, records[i].entry.type);
        EXPECT_EQ(f.visibility, records[i].entry.visibility & 0x7F);
        korvane_file found;
        ASSERT_EQ(korvane_collection_find(&c, f.name, &found), KORVANE_COLLECTION_OK);
        std::size_t first = 0;  // a changed byte may make two names equal: the first one counts
        while (records[first].entry.name != records[i].entry.name) {
            ++first;
        }
        EXPECT_EQ(found.data_address, records[first].data_address);
    }
    korvane_file none;
    EXPECT_EQ(korvane_collection_file(&c, host.count, &none), KORVANE_COLLECTION_NO_SUCH_FILE);
    EXPECT_EQ(korvane_collection_find(&c, "no such file", &none), KORVANE_COLLECTION_NO_SUCH_FILE);
}

// The values a layout header defines, by name.
std::map<std::string, std::string> header_values(const std::string& header)
{
    std::map<std::string, std::string> values;
    for (std::size_t at = 0; (at = header.find("\n#define ", at)) != std::string::npos;) {
        const std::size_t name = at + 9, blank = header.find_first_of(" \n", name), end = header.find_first_of(" \n", blank + 1);
        values[header.substr(name, blank - name)] = header.substr(blank + 1, end - blank - 1);
        at = end;
    }
    return values;
}

TEST(DeviceCollection, ReadsWhatTheHostReadsAfterEverySingleByteChange)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        ScratchDir dir;
        const Collection made = make_collection(dir, seed);
        SCOPED_TRACE("seed " + std::to_string(seed));
        // The layout header of the control file gives the layout the image was made with.
        ASSERT_EQ(run_program(installed_program("KorvaneInspect"), {"layout", "ctl.txt", "layout.h"}, dir.path).exit_code, 0);
        std::map<std::string, std::string> values = header_values(read_file(dir / "layout.h"));
        const std::uint32_t header_len = std::stoul(values["KORVANE_FILE_HEADER_LEN"]);
        EXPECT_EQ(std::stoul(values["KORVANE_TARGET_ADDRESS"], nullptr, 16) + header_len, made.base);
        EXPECT_EQ(values["KORVANE_BIG_ENDIAN"] + values["KORVANE_FOUR_BYTE_LENGTHS"] + values["KORVANE_ALIGN"],
                  std::to_string(made.big_endian) + std::to_string(made.four_byte_lengths) + std::to_string(made.align));
        EXPECT_EQ(values["MIME_B"] + values["VIS_H"] + values["FILE_VISIBLE"] + values["MIME_HTML"], "300011");
        EXPECT_EQ(values.count("BIG_ENDIAN") + values.count("ALIGN"), 0u);  // only with the prefix
        const CollectionLayout layout = {made.base, made.big_endian, made.four_byte_lengths, made.align};
        expect_same_reading(made.image, layout, header_len);
        for (std::size_t at = 0; at < made.image.size(); ++at) {
            for (unsigned flip : {0x01u, 0x80u, 0xFFu}) {
                std::string changed = made.image;
                changed[at] = static_cast<char>(changed[at] ^ flip);
                expect_same_reading(changed, layout, header_len, made.image, at);
            }
        }
    }
    // A file beyond 65,535 bytes in 2-byte lengths, cut images and no files.
    const std::string big(70000, 'x');
    for (const bool align : {false, true}) {
        const CollectionLayout layout = {0x1003, true, false, align};
        const std::array<CollectionEntry, 2> entries = {CollectionEntry{"big.bin", "", 1, 2, 70000},
                                                        CollectionEntry{"a", "", 3, 4, 0}};
        for (std::size_t n : {0, 2}) {
            std::string image = n ? big : "";
            std::vector<unsigned char> tail(collection_tail_size(std::span(entries).first(n), layout));
            write_collection_tail(std::span(entries).first(n), layout, tail);
            image.append(tail.begin(), tail.end());
            expect_same_reading(image, layout, 3);
            for (std::size_t cut = 1; cut < 40; ++cut) {
                expect_same_reading(image.substr(0, image.size() - cut), layout, 3);
            }
        }
    }
}

// Plain bytes handed out by the decoder, by offset.
struct Received {
    std::string plain;
    std::size_t bytes = 0;
};

void receive(void* context, std::uint32_t offset, const unsigned char* bytes, std::size_t count)
{
    auto* r = static_cast<Received*>(context);
    ASSERT_LE(offset + count, r->plain.size());
    r->plain.replace(offset, count, reinterpret_cast<const char*>(bytes), count);
    r->bytes += count;
}

// Feeds file in chunks of random sizes (single bytes when chunk is 1).
korvane_upload_fault decode(const std::string& file, const korvane_upload_setup& setup, std::mt19937& random,
                            unsigned chunk)
{
    std::vector<unsigned char> copy(file.begin(), file.end());
    korvane_upload u;
    korvane_upload_start(&u, &setup);
    for (std::size_t at = 0; at < copy.size();) {
        const std::size_t n = std::min<std::size_t>(copy.size() - at, 1 + random() % chunk);
        korvane_upload_feed(&u, copy.data() + at, n);
        at += n;
    }
    return korvane_upload_finish(&u);
}

TEST(DeviceUpload, GoldenUploadImagesDecodeInAnyChunkingAndEveryChangeIsNamed)
{
    std::mt19937 random(23);
    int images = 0;
    const std::filesystem::path golden = source_dir() + "/tests/golden/KorvaneConvert";
    for (const auto& entry : std::filesystem::directory_iterator(golden)) {
        std::ifstream args_file(entry.path() / "args");
        std::vector<std::string> args{"KorvaneConvert"};
        for (std::string line; std::getline(args_file, line);) {
            args.push_back(line);
        }
        const std::string out = (entry.path() / "out" / "out.bin").string();
        if (!file_exists(out) || args.size() < 4 || args[3].rfind("-b", 0) == 0) {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        std::vector<const char*> argv;
        for (std::size_t i = 3; i < args.size(); ++i) {
            argv.push_back(args[i].c_str());
        }
        ConvertRequest request;
        ASSERT_EQ(read_upload_arguments(argv, request).fault, ArgumentFault::none);
        const std::string file = read_file(out);
        korvane_upload_setup setup = {request.magic, request.suffix.bytes.data(),
                                      static_cast<std::uint8_t>(request.suffix.count), request.keyed,
                                      request.keys.bytes.data(), static_cast<std::uint8_t>(request.keys.count),
                                      request.seed, request.rotation, 0x200000, receive, nullptr};
        // The plain image: what the decoder hands out, checked by the plain CRC.
        const std::size_t length = file.size() - (request.keyed ? 10 : 8);
        Received first{std::string(length, '\0')};
        setup.context = &first;
        ASSERT_EQ(decode(file, setup, random, 1), KORVANE_UPLOAD_OK);
        EXPECT_EQ(first.bytes, length);
        KeyStream ks;
        std::vector<unsigned char> room(file.size());
        const UploadCheck host = check_upload(std::span(bytes_of(file), file.size()), request, ks, room.data());
        EXPECT_EQ(first.plain, std::string(host.plain.begin(), host.plain.end()));
        for (unsigned chunk : {3u, 64u, 5000u}) {
            Received again{std::string(length, '\0')};
            setup.context = &again;
            ASSERT_EQ(decode(file, setup, random, chunk), KORVANE_UPLOAD_OK);
            EXPECT_EQ(again.plain, first.plain);
            EXPECT_EQ(again.bytes, length);
        }
        setup.sink = nullptr;
        for (std::size_t at = 0; at < file.size(); ++at) {
            std::string changed = file;
            changed[at] = static_cast<char>(changed[at] ^ (1u << (at % 8)));
            const korvane_upload_fault expected = at < 4   ? KORVANE_UPLOAD_LENGTH
                                                  : at < 6 ? KORVANE_UPLOAD_MAGIC
                                                  : at < 8 || at >= 10u || !request.keyed ? KORVANE_UPLOAD_IMAGE_CRC
                                                           : KORVANE_UPLOAD_PLAIN_CRC;
            EXPECT_EQ(decode(changed, setup, random, 7), expected) << "byte " << at;
        }
        for (std::size_t cut : {std::size_t{1}, file.size()}) {
            EXPECT_EQ(decode(file.substr(0, file.size() - cut), setup, random, 7), KORVANE_UPLOAD_LENGTH);
        }
        EXPECT_EQ(decode(file + "x", setup, random, 7), KORVANE_UPLOAD_LENGTH);
        setup.max_length = static_cast<std::uint32_t>(length) - 1;
        if (length > 0) {
            EXPECT_EQ(decode(file, setup, random, 7), KORVANE_UPLOAD_LENGTH);
        }
        ++images;
    }
    EXPECT_GE(images, 9);
}

TEST(DeviceCrc, TableFreeStepEqualsTheBitwiseDefinition)
{
    for (unsigned reg = 0; reg <= 0xFFFF; ++reg) {
        for (unsigned byte = 0; byte <= 0xFF; ++byte) {
            ASSERT_EQ(korvane_crc16_byte(static_cast<std::uint16_t>(reg), static_cast<unsigned char>(byte)),
                      crc16_bitwise(static_cast<std::uint16_t>(reg), static_cast<unsigned char>(byte)));
        }
    }
    EXPECT_EQ(korvane_crc16(0, bytes_of("123456789"), 9), 0x31C3);
}

TEST(DeviceGlcd, PixelsAndRefusals)
{
    // 12 x 2, rows A5 F0 and 0F 30 as -bm writes them; then a row short, and no preamble.
    const unsigned char a[] = {0x00, 0x00, 0x0C, 0x00, 0x02, 0xA5, 0xF0, 0x0F, 0x30};
    std::string lit;
    for (std::uint16_t at = 0; at < 28; ++at) {
        lit += static_cast<char>('1' + korvane_glcd_pixel(a, sizeof a, at % 14, at / 14));
    }
    EXPECT_EQ(lit, "21211212222200" "11112222112200");  // 2 lit, 1 dark, 0 outside
    EXPECT_EQ(korvane_glcd_width(a, sizeof a) * 100 + korvane_glcd_height(a, sizeof a), 1202);
    EXPECT_EQ(korvane_glcd_width(a, sizeof a - 1) + korvane_glcd_height(a, 4), 0);
    EXPECT_EQ(korvane_glcd_pixel(a, sizeof a - 1, 0, 0), -1);
}

}  // namespace
