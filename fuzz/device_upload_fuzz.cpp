// The device's upload decoder on arbitrary bytes: the first four choose the
// setup (header form, key bytes, rotation, chunk size), the rest is fed in
// chunks from a buffer of exactly its size. Every byte range handed out must
// lie in the image the header announces, and an accepted image must be one
// the host check accepts too, with the same plain bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "inspect/upload_check.hpp"
#include "korvane/upload.h"

namespace {

struct Plain {
    std::uint32_t length = 0;
    std::vector<unsigned char> bytes;
};

void sink(void* context, std::uint32_t offset, const unsigned char* bytes, std::size_t count)
{
    auto* plain = static_cast<Plain*>(context);
    if (offset > plain->bytes.size() || count > plain->bytes.size() - offset) {
        __builtin_trap();
    }
    std::copy(bytes, bytes + count, plain->bytes.begin() + offset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) {
        return 0;
    }
    static const unsigned char key[] = {0x11, 0x22, 0x33};
    static const unsigned char suffix[] = {0x55};
    const bool keyed = (data[0] & 1) != 0;
    ConvertRequest request;
    request.magic = 0x1234;
    request.suffix.bytes[0] = suffix[0];
    request.suffix.count = data[0] & 2 ? 1 : 0;
    request.keyed = keyed;
    request.keys.count = keyed ? (data[0] >> 2) % 4 : 0;
    std::copy(key, key + 3, request.keys.bytes.begin());
    request.seed = 0x1D0F;
    request.rotation = data[1];
    const std::size_t chunk = 1 + data[2] % 64;
    std::vector<unsigned char> file(data + 4, data + size);
    const std::vector<unsigned char> original = file;
    Plain plain;
    plain.bytes.resize(file.size());
    const korvane_upload_setup setup = {request.magic, suffix, static_cast<std::uint8_t>(request.suffix.count), keyed,
                                        key, static_cast<std::uint8_t>(request.keys.count), request.seed,
                                        request.rotation, static_cast<std::uint32_t>(file.size()), sink, &plain};
    korvane_upload u;
    korvane_upload_start(&u, &setup);
    for (std::size_t at = 0; at < file.size(); at += chunk) {
        korvane_upload_feed(&u, file.data() + at, std::min(chunk, file.size() - at));
    }
    if (korvane_upload_finish(&u) != KORVANE_UPLOAD_OK) {
        return 0;
    }
    KeyStream ks;
    std::vector<unsigned char> room(original.size());
    const UploadCheck host = check_upload(original, request, ks, room.data());
    plain.bytes.resize(u.length);
    if (host.fault != UploadFault::none || !std::equal(plain.bytes.begin(), plain.bytes.end(), host.plain.begin(),
                                                       host.plain.end())) {
        __builtin_trap();
    }
    return 0;
}
