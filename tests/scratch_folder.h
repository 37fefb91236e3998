// A folder of one test's own in the temporary folder (TMPDIR), under a name no other run can
// take, removed with all it holds when the test ends: two runs at once never meet, and nothing
// is left behind.
#pragma once

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

class ScratchFolder {
  public:
    // Whether other users must reach the folder: tests that act as them need a way in.
    enum Reach { kOwnerOnly, kOtherUsers };

    explicit ScratchFolder(Reach reach = kOwnerOnly) {
        const std::filesystem::path base =
            reach == kOtherUsers ? FolderOthersReach() : std::filesystem::temp_directory_path();
        std::string name = (base / "velquin-XXXXXX").string();
        if (!mkdtemp(name.data())) throw std::system_error(errno, std::generic_category(), name);
        path_ = name;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    // The temporary folder when other users may pass through it and every folder above it; else
    // /tmp, open to all: a TMPDIR made by mktemp -d is closed to everyone but its owner.
    static std::filesystem::path FolderOthersReach() {
        namespace fs = std::filesystem;
        const fs::path temporary = fs::absolute(fs::temp_directory_path());
        for (fs::path folder = temporary;; folder = folder.parent_path()) {
            std::error_code error;
            const fs::perms perms = fs::status(folder, error).permissions();
            if (error || (perms & fs::perms::others_exec) == fs::perms::none) return "/tmp";
            if (folder == folder.root_path()) return temporary;
        }
    }

    std::filesystem::path path_;
};

// A whole file, "" when it is missing.
inline std::string ReadWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
