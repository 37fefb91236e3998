// A scratch folder per test holding the hive file, a game state cleared to the current version,
// and helpers to read and write the file directly.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "engine/game_state.h"
#include "platform/registry/hive.h"
#include "platform/registry/registry.h"
#include "store/settings_store.h"
#include "tests/scratch_folder.h"

// Runs `step` in a child process as `uid`; its result (0 for success, else the failing step, or
// 300 when there was no child to run it).
inline int RunAs(uid_t uid, const std::function<int()>& step) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(uid) != 0 || setuid(uid) != 0) _exit(100);
        _exit(step());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return 300;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
}

class StoreTest : public testing::Test {
  protected:
    void SetUp() override {
        // Open to other users: some tests act as them.
        namespace fs = std::filesystem;
        fs::permissions(scratch_.Path(), fs::perms::owner_all | fs::perms::group_read |
                                             fs::perms::group_exec | fs::perms::others_read |
                                             fs::perms::others_exec);
        folder_ = scratch_.Path();
        file_ = folder_ / "velquin" / "registry.reg";
        SetRegistryFilePath(file_.string());
        std::memset(&gameState, 0, sizeof gameState);
        gameState.version = kSettingsVersion;
    }
    void TearDown() override {
        SetRegistryFilePath("");
        // A test may leave the store's folder closed to its owner.
        std::error_code ignored;
        std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }

    void WriteFile(const std::string& text) {
        std::filesystem::create_directories(file_.parent_path());
        std::ofstream(file_, std::ios::binary) << text;
    }
    std::string ReadFile() const { return ReadWhole(file_); }
    Hive ReadHive() const {
        Hive hive;
        EXPECT_TRUE(ParseHive(ReadFile(), &hive));
        return hive;
    }
    // Names of the files in the store's folder other than the hive and its lock.
    std::vector<std::string> OtherFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(file_.parent_path())) {
            const std::string name = entry.path().filename().string();
            if (name != "registry.reg" && name != "registry.reg.lock") names.push_back(name);
        }
        return names;
    }

    ScratchFolder scratch_{ScratchFolder::kOtherUsers};
    std::filesystem::path folder_, file_;
};
