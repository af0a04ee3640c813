#include "upload_image.hpp"

#include <array>
#include <cstdio>
#include <cstring>
#include <span>
#include <unistd.h>
#ifdef _WIN32
#include <cstdlib>  // stand-in until the buffers stop coming from mmap
#else
#include <sys/mman.h>
#endif
#include <utility>

#include "byte_order.hpp"
#include "crc16.hpp"
#include "file_access.hpp"
#include "file_read.hpp"
#include "key_stream.hpp"
#include "out_file.hpp"
#include "record_flattening.hpp"

namespace {

constexpr const char BANNER[] =
    "      KorvaneConvert V1.8 - supporting encryption and Motorola binary format [2M binary support]\r\r\n";
constexpr std::size_t BUFFER_SIZE = IMAGE_LIMIT + 10;  // the largest header in front of the image
constexpr std::size_t MAX_BYTES = 100;                 // suffix and key bytes taken from an argument

unsigned char* image_buffer = nullptr;
unsigned char* work_area = nullptr;
unsigned char* rotation_buffer = nullptr;

// Buffers come straight from the system with their pages mapped in one go:
// touching 2 MiB page by page costs more than the whole conversion.
unsigned char* obtain_buffer(std::size_t size)
{
#ifdef _WIN32
    return static_cast<unsigned char*>(std::calloc(size, 1));
#else
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    return p == MAP_FAILED ? nullptr : static_cast<unsigned char*>(p);
#endif
}

void release_buffer(unsigned char*& buffer, std::size_t size)
{
    if (buffer != nullptr) {
#ifdef _WIN32
        (void)size;
        std::free(buffer);
#else
        ::munmap(buffer, size);
#endif
        buffer = nullptr;
    }
}

// Bytes given as hex digit pairs after an argument's first character.
struct ByteList {
    std::array<unsigned char, MAX_BYTES> bytes{};
    std::uint32_t count = 0;
};

struct Request {
    const char* input = nullptr;
    const char* output = nullptr;
    bool plain = false;
    std::uint16_t magic = 0;
    ByteList suffix;
    bool keyed = false;
    ByteList keys;
    std::uint16_t seed = 0;
    std::uint16_t rotation = 0;
};

int refuse(const char* message)
{
    std::printf("%s. Terminating\n\n", message);
    return CONVERT_BAD_REQUEST;
}

// Checks an argument of hex digit pairs and takes up to 100 bytes from it.
// Returns false (after its message) when it is empty or ends in a lone digit
// before 100 bytes are held.
bool take_bytes(const char* text, int position, ByteList& list)
{
    std::size_t digits = std::strlen(text);
    if (digits == 0) {
        std::printf("Argument %d is empty. Terminating\n\n", position);
        return false;
    }
    digits -= 1;
    std::size_t pairs = digits / 2;
    if (pairs < MAX_BYTES && digits % 2 != 0) {
        std::printf("Argument %d holds an odd number of hex digits. Terminating\n\n", position);
        return false;
    }
    list.count = static_cast<std::uint32_t>(pairs < MAX_BYTES ? pairs : MAX_BYTES);
    for (std::uint32_t i = 0; i < list.count; ++i) {
        list.bytes[i] = static_cast<unsigned char>(parse_hex_digits(text + 1 + 2 * i, 2));
    }
    return true;
}

// Reads argument 6 or 7: four hex digits after the first character.
bool take_word(const char* text, int position, std::uint16_t& value)
{
    if (std::strlen(text) < 5) {
        std::printf("Argument %d needs four hex digits after its first character. Terminating\n\n", position);
        return false;
    }
    value = parse_hex_digits(text + 1, 4);
    return true;
}

// Everything the command line says, checked before any file is created.
int read_request(int argc, char** argv, Request& request)
{
    request.input = argv[1];
    request.output = argc > 2 ? argv[2] : nullptr;
    if (request.output == nullptr) {
        std::printf("Output file could not be created. Terminating\n\n");
        return CONVERT_OUTPUT_FAILED;
    }
    if (argc < 4) {
        return refuse("Argument 3 (mode and image magic) missing");
    }
    const char* mode = argv[3];
    request.plain = mode[0] == '-' && mode[1] == 'b';
    if (request.plain) {
        return CONVERT_OK;
    }
    if (std::strlen(mode) < 7) {
        return refuse("Argument 3 needs four hex digits of image magic from its fourth character");
    }
    request.magic = parse_hex_digits(mode + 3, 4);
    if (argc > 4 && !take_bytes(argv[4], 4, request.suffix)) {
        return CONVERT_BAD_REQUEST;
    }
    if (argc > 5) {
        request.keyed = true;
        if (!take_bytes(argv[5], 5, request.keys)) {
            return CONVERT_BAD_REQUEST;
        }
        if (argc > 6 && !take_word(argv[6], 6, request.seed)) {
            return CONVERT_BAD_REQUEST;
        }
        if (argc > 7 && !take_word(argv[7], 7, request.rotation)) {
            return CONVERT_BAD_REQUEST;
        }
    }
    return CONVERT_OK;
}

int run(int in_fd, const Request& request)
{
    const std::size_t header = request.plain ? 0 : (request.keyed ? 10 : 8);
    image_buffer = obtain_buffer(BUFFER_SIZE);
    work_area = obtain_buffer(BUFFER_SIZE);
    if (image_buffer == nullptr || work_area == nullptr) {
        std::printf("Memory could not be obtained. Terminating\n\n");
        return CONVERT_INPUT_OR_WRITE_FAILED;
    }
    unsigned char* image = image_buffer + header;
    std::size_t got = 0;
    switch (read_whole(in_fd, std::span<unsigned char>(image, IMAGE_LIMIT), got)) {
    case ReadStatus::failed:
        std::printf("Input file could not be found. Terminating\n\n");
        return CONVERT_INPUT_OR_WRITE_FAILED;
    case ReadStatus::too_large:
        std::printf("Input file larger than %u bytes. Terminating\n\n", IMAGE_LIMIT);
        return CONVERT_BAD_REQUEST;
    case ReadStatus::ok:
        break;
    }
    auto length = static_cast<std::uint32_t>(got);
    // The image is assembled in the second buffer behind the same header
    // room; on success the two buffers trade places instead of copying back.
    std::uint32_t flat_length = 0;
    if (flatten_records_into(image, length, work_area + header, flat_length)) {
        std::swap(image_buffer, work_area);
        image = image_buffer + header;
        length = flat_length;
    }

    const unsigned char* written = image_buffer;
    if (!request.plain) {
        if (request.keyed && request.keys.count == 0 && length > 0) {
            return refuse("Argument 5 holds no key bytes for a non-empty image");
        }
        if (request.rotation > length) {
            return refuse("Argument 7 rotates by more bytes than the image holds");
        }
        const ByteList& suffix = request.suffix;
        store_be16(image_buffer + 4, request.magic);
        if (request.keyed) {
            std::uint16_t plain_crc = crc16_update(crc16_update(0, image, length), suffix.bytes.data(), suffix.count);
            store_be16(image_buffer + 8, plain_crc);
            encrypt_image(image, length, request.keys.bytes.data(), request.keys.count, request.seed);
        }
        const unsigned char* final_image = image;
        if (request.rotation != 0) {
            rotation_buffer = obtain_buffer(BUFFER_SIZE);
            if (rotation_buffer == nullptr) {
                std::printf("Memory could not be obtained. Terminating\n\n");
                return CONVERT_INPUT_OR_WRITE_FAILED;
            }
            rotate_image(image, length, request.rotation, rotation_buffer + header);
            final_image = rotation_buffer + header;
        }
        std::uint16_t crc = crc16_update(crc16_update(0, final_image, length), suffix.bytes.data(), suffix.count);
        store_be32(image_buffer, length);
        store_be16(image_buffer + 6, crc);
        if (rotation_buffer != nullptr) {
            std::memcpy(rotation_buffer, image_buffer, header);
            written = rotation_buffer;
        }
    }

    // The output is created only now, so a refused run leaves no file behind.
    if (path_is_open_file(request.output, in_fd)) {
        std::printf("Output file %s is the same file as the input. Terminating\n\n", request.output);
        return CONVERT_OUTPUT_FAILED;
    }
    int out_fd = create_output(request.output);
    if (out_fd < 0) {
        std::printf("Output file could not be created. Terminating\n\n");
        return CONVERT_OUTPUT_FAILED;
    }
    bool ok = write_all(out_fd, written, header + length);
    ok = ::close(out_fd) == 0 && ok;
    if (!ok) {
        std::printf("Output file write failed. Terminating\n\n");
        return CONVERT_INPUT_OR_WRITE_FAILED;
    }
    return CONVERT_OK;
}

}  // namespace

std::uint16_t parse_hex_digits(const char* text, int count)
{
    unsigned value = 0;
    for (int i = 0; i < count; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        unsigned nibble = (c >= '0' && c <= '9') ? c - '0' : (c + 9u) % 16u;
        value = ((value << 4) | nibble) & 0xFFFF;
    }
    return static_cast<std::uint16_t>(value);
}

void free_image_buffers()
{
    release_buffer(image_buffer, BUFFER_SIZE);
    release_buffer(work_area, BUFFER_SIZE);
    release_buffer(rotation_buffer, BUFFER_SIZE);
}

int convert_main(int argc, char** argv)
{
    if (argc < 2) {
        return CONVERT_OK;
    }
    std::printf("%s", BANNER);
    if (std::strcmp(argv[1], "-v") == 0) {
        return CONVERT_OK;
    }
    int in_fd = open_input(argv[1]);
    if (in_fd < 0) {
        std::printf("Input file could not be found. Terminating\n\n");
        return CONVERT_INPUT_OR_WRITE_FAILED;
    }
    Request request;
    int code = read_request(argc, argv, request);
    if (code == CONVERT_OK) {
        code = run(in_fd, request);
    }
    ::close(in_fd);
    free_image_buffers();
    return code;
}
