#include "platform/gdi/internal/picture_file.h"

#include <array>
#include <charconv>
#include <climits>
#include <fstream>
#include <span>
#include <sstream>

#include "platform/crt/parse_integer.h"

namespace gdi {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view Word(std::string_view& s) {
    s = Trim(s);
    std::size_t end = s.find_first_of(" \t");
    std::string_view w = s.substr(0, end);
    s.remove_prefix(end == std::string_view::npos ? s.size() : end);
    return w;
}

bool Number(std::string_view w, int base, long* value) {
    return ParseInteger(w, LONG_MIN, LONG_MAX, value, base);
}

bool Name(std::string_view w) {
    auto letter = [](char c) {
        return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    if (w.empty() || !letter(w.front())) return false;
    for (char c : w)
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

}  // namespace

std::string ParsePicture(std::string_view text, Picture* out) {
    Picture pic;
    std::array<int, 256> slot;
    slot.fill(-1);
    bool header = false;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        return "line " + std::to_string(lineNumber) + ": " + why;
    };
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '|') {
            if (!header) return fail("a row before the picture line");
            if (line.size() < 2 || line.back() != '|') return fail("a row must end with '|'");
            std::string_view row = line.substr(1, line.size() - 2);
            if (static_cast<int>(row.size()) != pic.width)
                return fail("a row of " + std::to_string(row.size()) + " characters, not " +
                            std::to_string(pic.width));
            if (static_cast<int>(pic.indices.size()) >= pic.width * pic.height)
                return fail("more rows than the picture's height");
            for (char c : row) {
                int index = slot[static_cast<unsigned char>(c)];
                if (index < 0) return fail(std::string("'") + c + "' is not in the palette");
                pic.indices.push_back(static_cast<std::uint8_t>(index));
            }
            continue;
        }
        std::string_view rest = line;
        std::string_view keyword = Word(rest);
        if (keyword == "picture") {
            if (header) return fail("a second picture line");
            const std::string_view id = Word(rest);
            long v[4];
            if (!Name(id) && !Number(id, 10, &v[0])) return fail("picture ID WIDTH HEIGHT BITS");
            for (long& x : std::span(v).subspan(1))
                if (!Number(Word(rest), 10, &x)) return fail("picture ID WIDTH HEIGHT BITS");
            if (!Trim(rest).empty()) return fail("picture ID WIDTH HEIGHT BITS");
            if (!Name(id) && (v[0] < 1 || v[0] > 0xFFFF)) return fail("the id must be 1 to 65535");
            if (v[1] < 1 || v[1] > 4096 || v[2] < 1 || v[2] > 4096)
                return fail("width and height must be 1 to 4096");
            if (v[3] != 1 && v[3] != 4 && v[3] != 8 && v[3] != 32)
                return fail("bits must be 1, 4, 8 or 32");
            pic.id = id;
            pic.width = static_cast<int>(v[1]);
            pic.height = static_cast<int>(v[2]);
            pic.bitsPerPixel = static_cast<int>(v[3]);
            pic.indices.reserve(static_cast<std::size_t>(pic.width) * pic.height);
            header = true;
        } else if (keyword == "colour") {
            if (!header) return fail("a colour before the picture line");
            if (!pic.indices.empty()) return fail("a colour after the first row");
            // One blank after the keyword, then the character, which may itself be a blank.
            if (rest.size() < 2) return fail("colour CHARACTER RRGGBB");
            rest.remove_prefix(1);
            char c = rest.front();
            rest.remove_prefix(1);
            std::string_view hex = Word(rest);
            long value;
            if (c == '|' || hex.size() != 6 || !Number(hex, 16, &value) || !Trim(rest).empty())
                return fail("colour CHARACTER RRGGBB");
            if (slot[static_cast<unsigned char>(c)] >= 0)
                return fail(std::string("'") + c + "' has a colour already");
            std::uint32_t colour = static_cast<std::uint32_t>(value);
            int index;
            if (pic.bitsPerPixel == 1) {
                if (colour != 0x000000 && colour != 0xFFFFFF)
                    return fail("a 1-bit picture has only black and white");
                index = colour ? 1 : 0;
            } else {
                std::size_t limit =
                    pic.bitsPerPixel == 32 ? 256 : std::size_t{1} << pic.bitsPerPixel;
                if (pic.palette.size() >= limit) return fail("too many colours for the depth");
                index = static_cast<int>(pic.palette.size());
                pic.palette.push_back(colour);
            }
            slot[static_cast<unsigned char>(c)] = index;
        } else {
            return fail("unknown line '" + std::string(keyword) + "'");
        }
    }
    if (!header) return fail("no picture line");
    if (static_cast<int>(pic.indices.size()) != pic.width * pic.height)
        return fail(std::to_string(pic.indices.size() / pic.width) + " rows, not " +
                    std::to_string(pic.height));
    if (pic.bitsPerPixel == 1) pic.palette = {0x000000, 0xFFFFFF};
    *out = std::move(pic);
    return {};
}

std::string ReadPictureFile(const std::string& path, Picture* picture) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return path + ": cannot read";
    std::stringstream text;
    text << in.rdbuf();
    if (std::string error = ParsePicture(text.str(), picture); !error.empty())
        return path + ": " + error;
    return {};
}

}  // namespace gdi
