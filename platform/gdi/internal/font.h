// The device's default font: a Tahoma-metric TrueType font rendered monochrome by FreeType at
// 11 pixels per em, each glyph rendered once and kept. A line is 13 pixels (the face's Windows
// ascent and descent, each rounded: 11 + 2) and the baseline 11 pixels below its top.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace gdi {

struct Glyph {
    int advance = 0;  // pixels to the next glyph
    int left = 0;     // bitmap's offset right of the pen position
    int top = 0;      // bitmap's top row above the baseline
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> ink;  // width × rows, 1 where the glyph sets a pixel
};

class Font {
  public:
    // Null when no font file can be opened at all.
    static Font* Default();

    const Glyph& Get(char32_t c);
    int Height() const { return ascent_ + descent_; }
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int PixelSize() const { return pixelSize_; }
    const std::string& Path() const { return path_; }
    // How many glyphs FreeType has rendered so far; the cache makes a repaint add none.
    int RenderCount() const { return renders_; }

    ~Font();

  private:
    Font() = default;
    bool Open(const std::string& path);

    void* library_ = nullptr;
    void* face_ = nullptr;
    std::string path_;
    int pixelSize_ = 0;
    int ascent_ = 0;
    int descent_ = 0;
    int renders_ = 0;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// The font file to use: firstChoice if it exists, then what fontconfig gives for "Tahoma",
// then for any sans-serif font; empty when there is none.
std::string LocateFont(const std::string& firstChoice);
constexpr const char* kTahomaMetricFont = "/usr/share/wine/fonts/tahoma.ttf";

}  // namespace gdi
