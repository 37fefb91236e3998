#include "packaging/icon_scale.h"

#include "platform/crt/parse_integer.h"
#include "platform/gdi/internal/png.h"

std::string ScaleIcon(const gdi::Picture& picture, int size, std::vector<std::uint32_t>* pixels) {
    pixels->clear();
    if (size < kSmallestIconSize || size > kLargestIconSize)
        return "an icon size must be from " + std::to_string(kSmallestIconSize) + " to " +
               std::to_string(kLargestIconSize) + " pixels, not " + std::to_string(size);
    if (picture.width <= 0 || picture.width != picture.height)
        return "the icon picture is " + std::to_string(picture.width) + " x " +
               std::to_string(picture.height) + "; an icon must be square";
    const std::size_t source = static_cast<std::size_t>(picture.width);
    if (picture.indices.size() != source * source) return "the icon picture has missing rows";
    // Centre of target pixel d is (d + 1/2) * source / size, in whole numbers.
    std::vector<std::size_t> from(static_cast<std::size_t>(size));
    for (std::size_t d = 0; d < from.size(); ++d)
        from[d] = (2 * d + 1) * source / (2 * from.size());
    pixels->reserve(from.size() * from.size());
    for (std::size_t y : from)
        for (std::size_t x : from) {
            const std::uint8_t index = picture.indices[y * source + x];
            if (index >= picture.palette.size()) {
                pixels->clear();
                return "the icon picture uses a colour outside its palette";
            }
            const std::uint32_t colour = picture.palette[index] & 0xFFFFFFu;
            pixels->push_back(colour == kIconTransparentColour ? 0u : 0xFF000000u | colour);
        }
    return "";
}

bool ReadIconRequest(const std::string& text, int* size, std::string* path) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
    if (!ParseInteger(std::string_view(text).substr(0, colon), kSmallestIconSize, kLargestIconSize,
                      size))
        return false;
    *path = text.substr(colon + 1);
    return true;
}

bool WriteIconPng(const std::vector<std::uint32_t>& pixels, int size, const std::string& path) {
    if (size <= 0 || pixels.size() != static_cast<std::size_t>(size) * size) return false;
    return gdi::WritePng(pixels.data(), size, size, size, path, gdi::PngFormat::Rgba);
}
