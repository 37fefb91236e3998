// The game's icon at the sizes a desktop asks for, made from its text picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/internal/picture_file.h"

// The sizes the icon tool accepts, in pixels a side.
constexpr int kSmallestIconSize = 1, kLargestIconSize = 1024;

// The picture colour that stands for the icon's transparent background: magenta.
constexpr std::uint32_t kIconTransparentColour = 0xFF00FF;

// Scales a square picture to `size` by `size` pixels of 0xAARRGGBB, nearest neighbour: every
// pixel takes the colour of the picture's pixel under its centre, so the hard edges of the
// handheld's artwork stay hard. Pixels of kIconTransparentColour become fully transparent (0),
// every other pixel is opaque. Empty on success, otherwise what is wrong.
std::string ScaleIcon(const gdi::Picture& picture, int size, std::vector<std::uint32_t>* pixels);

// Reads "SIZE:PATH" (one output of the icon tool). False when SIZE is not a whole number in
// range or PATH is empty.
bool ReadIconRequest(const std::string& text, int* size, std::string* path);

// Writes 0xAARRGGBB pixels as an RGBA PNG file. Returns whether it could.
bool WriteIconPng(const std::vector<std::uint32_t>& pixels, int size, const std::string& path);
