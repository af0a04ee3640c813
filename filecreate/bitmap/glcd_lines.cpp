#include "filecreate/bitmap/glcd_lines.hpp"

#include <cstring>

void hand_over(LineText& line)
{
    out_put(line.out, line.text.data(), line.used);
    line.used = 0;
}

namespace {

// Writes the whole blocks held and keeps the rest for the next block.
void hand_over_blocks(LineText& line)
{
    std::size_t blocks = line.used - line.used % OUT_FILE_BUFFER_SIZE;
    if (blocks > 0) {
        out_put(line.out, line.text.data(), blocks);
        std::memmove(line.text.data(), line.text.data() + blocks, line.used - blocks);
        line.used -= blocks;
    }
}

}  // namespace

void add_text(LineText& line, std::string_view text)
{
    while (!text.empty()) {
        std::size_t room = line.text.size() - line.used;
        std::size_t part = text.size() < room ? text.size() : room;
        std::memcpy(line.text.data() + line.used, text.data(), part);
        line.used += part;
        text.remove_prefix(part);
        hand_over_blocks(line);
    }
}

void add_values(LineText& line, const unsigned char* bytes, std::size_t count)
{
    char* end = put_value_texts(line.text.data() + line.used, bytes, count, VALUE_TEXTS_UPPER);
    line.used = static_cast<std::size_t>(end - line.text.data());
}

void end_line(LineText& line)
{
    std::memcpy(line.text.data() + line.used, GLCD_LINE_END.data(), GLCD_LINE_END.size());
    line.used += GLCD_LINE_END.size();
    line.count = 0;
    hand_over_blocks(line);
}

void put_values(LineText& line, const unsigned char* bytes, std::size_t count)
{
    while (count > 0) {
        std::size_t steps = (count + line.step - 1) / line.step;
        std::size_t room = line.per_line - line.count;
        steps = steps < room ? steps : room;
        std::size_t part = steps * line.step < count ? steps * line.step : count;
        add_values(line, bytes, part);
        bytes += part;
        count -= part;
        line.count += static_cast<unsigned>(steps);
        if (line.count == line.per_line) {
            end_line(line);
        }
    }
}
