#include "inspect/upload_check.hpp"

#include "formats/byte_order.hpp"
#include "formats/crc16.hpp"

namespace {

// The header the file holds, read against the form the arguments ask for.
UploadFault read_header(std::span<const unsigned char> file, const ConvertRequest& request, UploadCheck& check)
{
    check.header_size = request.keyed ? UPLOAD_HEADER_KEYED_SIZE : UPLOAD_HEADER_SIZE;
    if (file.size() < check.header_size) {
        return UploadFault::too_short;
    }
    check.header.image_length = load_be32(file.data());
    check.behind = file.size() - check.header_size;
    UploadHeader found;
    if (!unpack_upload_header(file, found)) {
        return UploadFault::length;
    }
    if (found.keyed != request.keyed) {
        check.found_size = upload_header_size(found);
        return UploadFault::form;
    }
    check.header = found;
    return UploadFault::none;
}

// Undoes the rotation (the written image rotated again by the rest of its
// length gives the encrypted image) and then the key stream.
void recover(std::span<const unsigned char> written, const ConvertRequest& request, KeyStream& ks,
             unsigned char* plain_room)
{
    const RotatedImage parts = rotated_parts(written, written.size() - request.rotation);
    key_stream_start(ks, std::span(request.keys.bytes.data(), request.keys.count), request.seed);
    key_stream_apply(ks, parts.first.data(), plain_room, parts.first.size());
    key_stream_apply(ks, parts.second.data(), plain_room + parts.first.size(), parts.second.size());
}

}  // namespace

UploadCheck check_upload(std::span<const unsigned char> file, const ConvertRequest& request, KeyStream& ks,
                         unsigned char* plain_room)
{
    UploadCheck check;
    const std::span<const unsigned char> suffix(request.suffix.bytes.data(), request.suffix.count);
    if (request.plain) {
        check.plain = file;
        check.recovered = true;
        check.plain_crc = crc16_update(0, file.data(), static_cast<std::uint32_t>(file.size()));
        return check;
    }
    check.fault = read_header(file, request, check);
    if (check.fault != UploadFault::none) {
        return check;
    }
    const std::span<const unsigned char> written = file.subspan(check.header_size, check.header.image_length);
    check.image_crc = upload_crc(written, {}, suffix);
    if (!request.keyed) {
        check.plain = written;
        check.recovered = true;
    } else if ((request.keys.count != 0 || written.empty()) && request.rotation <= written.size()) {
        recover(written, request, ks, plain_room);
        check.plain = std::span<const unsigned char>(plain_room, written.size());
        check.recovered = true;
        check.plain_crc = upload_crc(check.plain, {}, suffix);
    }
    if (check.header.magic != request.magic) {
        check.fault = UploadFault::magic;
    } else if (check.header.image_crc != check.image_crc) {
        check.fault = UploadFault::image_crc;
    } else if (request.keyed && request.keys.count == 0 && !written.empty()) {
        check.fault = UploadFault::no_key_bytes;
    } else if (request.keyed && request.rotation > written.size()) {
        check.fault = UploadFault::rotation_too_long;
    } else if (request.keyed && check.header.plain_crc != check.plain_crc) {
        check.fault = UploadFault::plain_crc;
    }
    return check;
}
