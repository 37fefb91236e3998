// velquin-icon PICTURE ID SIZE:OUTPUT.png...: writes the game's icon picture as PNG files of
// the given sizes, for the desktop's icon theme. ID is the id the icon's picture names (its
// constant's name), so that a wrong file is refused rather than installed as the icon.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "packaging/icon_scale.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: velquin-icon PICTURE ID SIZE:OUTPUT.png...\n");
        return 2;
    }
    const std::string path = argv[1], id = argv[2];
    gdi::Picture picture;
    if (std::string error = gdi::ReadPictureFile(path, &picture); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (picture.id != id) {
        std::fprintf(stderr, "%s: holds picture %s, not the icon %s\n", path.c_str(),
                     picture.id.c_str(), id.c_str());
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        int size = 0;
        std::string output;
        if (!ReadIconRequest(argv[i], &size, &output)) {
            std::fprintf(stderr,
                         "velquin-icon: %s is not SIZE:OUTPUT.png with SIZE from %d to %d\n",
                         argv[i], kSmallestIconSize, kLargestIconSize);
            return 2;
        }
        std::vector<std::uint32_t> pixels;
        if (std::string error = ScaleIcon(picture, size, &pixels); !error.empty()) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
        if (!WriteIconPng(pixels, size, output)) {
            std::fprintf(stderr, "velquin-icon: cannot write %s\n", output.c_str());
            return 1;
        }
    }
    return 0;
}
