#include "app/window_state.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/backend/sdl/window_scale.h"
#include "platform/crt/parse_integer.h"

std::string WindowStatePath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    // The XDG base-directory rule: a relative path is ignored.
    if (state && state[0] == '/') return std::string(state) + "/velquin/window";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/state/velquin/window";
    return "";
}

std::string FormatWindowState(const WindowState& state) {
    std::ostringstream out;
    out << "# The velquin window when the game last closed.\n";
    if (state.scale > 0) out << "scale=" << state.scale << "\n";
    out << "fullscreen=" << (state.fullScreen ? 1 : 0) << "\n";
    return out.str();
}

WindowState ParseWindowState(const std::string& text) {
    WindowState state;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line == "fullscreen=1") state.fullScreen = true;
        if (line == "fullscreen=0") state.fullScreen = false;
        if (line.rfind("scale=", 0) == 0) {
            int n = 0;
            if (ParseInteger(std::string_view(line).substr(6), 1, backend::kLargestScale, &n))
                state.scale = n;
        }
    }
    return state;
}

WindowState ReadWindowState(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() > 4096) return {};
    return ParseWindowState(text);
}

bool WriteWindowState(const std::string& path, const WindowState& state) {
    if (path.empty()) return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << FormatWindowState(state);
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, path, ec);
    if (ec) fs::remove(temporary, ec);
    return !ec;
}
