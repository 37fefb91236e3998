// velquin-picture [--ids HEADER] OUTPUT.cpp PICTURE...: turns text pictures into the program's
// bitmap resource table, which registers itself when the program starts. Pictures that name
// their ids take them from HEADER, included as written.
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/gdi/internal/picture_file.h"

int main(int argc, char** argv) {
    int first = 1;
    std::string ids;
    if (argc > 2 && std::string(argv[1]) == "--ids") {
        ids = argv[2];
        first = 3;
    }
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: velquin-picture [--ids HEADER] OUTPUT.cpp PICTURE...\n");
        return 2;
    }
    std::ostringstream code;
    code << "// Made by velquin-picture from the text pictures; edit those, not this.\n"
            "#include \"platform/gdi/internal/resources.h\"\n";
    if (!ids.empty()) code << "#include \"" << ids << "\"\n";
    code << "\nnamespace {\n\n";
    std::ostringstream table, idList;
    std::set<std::string> seen;
    for (int i = first + 1; i < argc; ++i) {
        std::string path = argv[i];
        gdi::Picture pic;
        if (std::string error = gdi::ReadPictureFile(path, &pic); !error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        if (!seen.insert(pic.id).second) {
            std::fprintf(stderr, "%s: picture id %s is used twice\n", path.c_str(), pic.id.c_str());
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
        idList << (i > first + 1 ? ", " : "") << pic.id;
    }
    // Two names may hold one number: the compiler compares what they hold.
    code << "const gdi::PictureResource kPictures[] = {\n"
         << table.str() << "};\n\n"
         << "constexpr unsigned kIds[] = {" << idList.str() << "};\n"
         << "static_assert([] {\n"
            "    for (unsigned a : kIds)\n"
            "        if (a < 1 || a > 0xFFFF) return false;\n"
            "    for (std::size_t i = 0; i < sizeof kIds / sizeof *kIds; ++i)\n"
            "        for (std::size_t j = i + 1; j < sizeof kIds / sizeof *kIds; ++j)\n"
            "            if (kIds[i] == kIds[j]) return false;\n"
            "    return true;\n"
            "}(), \"every picture needs an id of its own from 1 to 65535\");\n\n"
         << "struct Registrar {\n    Registrar() { gdi::RegisterPictures(kPictures, "
         << (argc - first - 1) << "); }\n} registrar;\n\n}  // namespace\n";
    std::string out = code.str();
    // Rewrite only when the content changes, so an unchanged table is not recompiled.
    std::ifstream old(argv[first], std::ios::binary);
    std::stringstream before;
    if (old) before << old.rdbuf();
    if (before.str() == out) return 0;
    std::ofstream file(argv[first], std::ios::binary | std::ios::trunc);
    file << out;
    return file.good() ? 0 : 1;
}
