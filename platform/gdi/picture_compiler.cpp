// velquin-picture OUTPUT.cpp PICTURE...: turns text pictures into the program's bitmap
// resource table, which registers itself when the program starts.
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/gdi/internal/picture_file.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velquin-picture OUTPUT.cpp PICTURE...\n");
        return 2;
    }
    std::ostringstream code;
    code << "// Made by velquin-picture from the text pictures; edit those, not this.\n"
            "#include \"platform/gdi/internal/resources.h\"\n\nnamespace {\n\n";
    std::ostringstream table;
    std::set<int> ids;
    for (int i = 2; i < argc; ++i) {
        std::string path = argv[i];
        gdi::Picture pic;
        if (std::string error = gdi::ReadPictureFile(path, &pic); !error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        if (!ids.insert(pic.id).second) {
            std::fprintf(stderr, "%s: picture id %d is used twice\n", path.c_str(), pic.id);
            return 1;
        }
        std::string name = path.substr(path.find_last_of('/') + 1);
        code << "const std::uint32_t kPalette" << i << "[] = {";
        for (std::size_t k = 0; k < pic.palette.size(); ++k)
            code << (k ? ", " : "") << "0x" << std::hex << pic.palette[k] << std::dec;
        code << "};\nconst unsigned char kIndices" << i << "[] = {";
        for (std::size_t k = 0; k < pic.indices.size(); ++k)
            code << (k % 32 ? ", " : (k ? ",\n    " : "\n    ")) << int(pic.indices[k]);
        code << "};\n\n";
        table << "    {" << pic.id << ", \"" << name << "\", " << pic.width << ", " << pic.height
              << ", " << pic.bitsPerPixel << ", kPalette" << i << ", " << pic.palette.size()
              << ", kIndices" << i << "},\n";
    }
    code << "const gdi::PictureResource kPictures[] = {\n"
         << table.str() << "};\n\n"
         << "struct Registrar {\n    Registrar() { gdi::RegisterPictures(kPictures, " << (argc - 2)
         << "); }\n} registrar;\n\n}  // namespace\n";
    std::string out = code.str();
    // Rewrite only when the content changes, so an unchanged table is not recompiled.
    std::ifstream old(argv[1], std::ios::binary);
    std::stringstream before;
    if (old) before << old.rdbuf();
    if (before.str() == out) return 0;
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << out;
    return file.good() ? 0 : 1;
}
