// The velquin program run with no screen on a script kept in a test's folder: its exit status,
// the lines it printed and what it said on its error stream.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/scratch_folder.h"

struct HeadlessRun {
    int status = -1;
    std::vector<std::string> lines;
    std::string err;

    std::string Joined() const {
        std::string all;
        for (const auto& l : lines) all += l + "\n";
        return all;
    }
    std::vector<std::string> Starting(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }
    // The JSON after the first word of each line that starts with it (`state`, `box`).
    std::vector<nlohmann::json> Reports(const std::string& word) const {
        std::vector<nlohmann::json> out;
        for (const auto& l : Starting(word + " "))
            out.push_back(nlohmann::json::parse(l.substr(word.size() + 1), nullptr, false));
        return out;
    }
    // The JSON of a state line (the first, or the last), null when there is none.
    nlohmann::json State(bool last = true) const {
        const auto states = Reports("state");
        return states.empty() ? nullptr : last ? states.back() : states.front();
    }
};

// Runs the program on `script` with `options` after its own; `prefix` goes before the program in
// the shell's command (variables, limits).
inline HeadlessRun RunHeadless(const std::filesystem::path& folder, const std::string& script,
                               const std::string& options, const std::string& prefix = "") {
    std::ofstream(folder / "script.txt") << script;
    const std::string command = prefix + " " + VELQUIN_PROGRAM + " --headless --script " +
                                (folder / "script.txt").string() + " " + options + " 2>" +
                                (folder / "err").string();
    HeadlessRun run;
    FILE* out = popen(command.c_str(), "r");
    char buffer[8192];
    while (fgets(buffer, sizeof buffer, out)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        run.lines.push_back(line);
    }
    const int status = pclose(out);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadWhole(folder / "err");
    return run;
}
