#include "platform/gdi/internal/font.h"

#ifndef VELQUIN_NO_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <strings.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>

namespace gdi {

namespace {

bool IsFile(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

#ifndef VELQUIN_NO_FONTCONFIG
// fontconfig's best match for a family; with exactFamily, only a font of that very family.
std::string Match(FcConfig* config, const char* family, bool exactFamily) {
    std::string result;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern) return result;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult outcome;
    FcPattern* match = FcFontMatch(config, pattern, &outcome);
    if (match) {
        FcChar8* file = nullptr;
        FcChar8* found = nullptr;
        bool familyOk =
            !exactFamily || (FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch &&
                             strcasecmp(reinterpret_cast<const char*>(found), family) == 0);
        if (familyOk && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            result = reinterpret_cast<const char*>(file);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return result;
}
#endif

// The handheld's default font: 8 points at 96 dots per inch.
constexpr int kPixelsPerEm = 11;

}  // namespace

std::string LocateFont(const std::string& firstChoice) {
    if (IsFile(firstChoice)) return firstChoice;
#ifdef VELQUIN_NO_FONTCONFIG
    return {};  // a build without fontconfig (the web page) carries its font at the first choice
#else
    // A configuration of our own, released after the look-up with all of fontconfig's state.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return {};
    std::string path = Match(config, "Tahoma", true);
    if (!IsFile(path)) path = Match(config, "sans-serif", false);
    FcConfigDestroy(config);
    FcFini();
    return IsFile(path) ? path : std::string();
#endif
}

Font* Font::Default() {
    static std::unique_ptr<Font> font = [] {
        std::unique_ptr<Font> f(new Font);
        if (!f->Open(LocateFont(kTahomaMetricFont))) f.reset();
        return f;
    }();
    return font.get();
}

bool Font::Open(const std::string& path) {
    if (path.empty()) return false;
    FT_Library library;
    if (FT_Init_FreeType(&library)) return false;
    library_ = library;
    FT_Face face;
    if (FT_New_Face(library, path.c_str(), 0, &face)) return false;
    face_ = face;
    path_ = path;
    // The line is the face's Windows ascent and descent, each scaled to the size and rounded.
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    double units = face->units_per_EM ? face->units_per_EM : 2048;
    double ascender = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
    double descender = os2 && os2->usWinDescent ? os2->usWinDescent : -face->descender;
    pixelSize_ = kPixelsPerEm;
    if (FT_Set_Pixel_Sizes(face, 0, pixelSize_)) return false;
    ascent_ = static_cast<int>(std::lround(ascender * pixelSize_ / units));
    descent_ = static_cast<int>(std::lround(descender * pixelSize_ / units));
    return true;
}

Font::~Font() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

const Glyph& Font::Get(char32_t c) {
    auto it = glyphs_.find(c);
    if (it != glyphs_.end()) return it->second;
    Glyph& g = glyphs_[c];
    auto face = static_cast<FT_Face>(face_);
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        return g;  // a glyph the font cannot give is an empty one
    ++renders_;
    FT_GlyphSlot slot = face->glyph;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    const FT_Bitmap& bm = slot->bitmap;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.ink.assign(static_cast<std::size_t>(g.width) * g.rows, 0);
    for (int y = 0; y < g.rows; ++y) {
        const unsigned char* row = bm.buffer + y * bm.pitch;
        for (int x = 0; x < g.width; ++x) {
            bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                                          : row[x] >= 128;
            g.ink[y * g.width + x] = on ? 1 : 0;
        }
    }
    return g;
}

}  // namespace gdi
