// A scratch folder per test holding the hive file, and helpers to read and write it directly.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/registry/hive.h"
#include "platform/registry/registry.h"

class StoreTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("velquin-store-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        file_ = folder_ / "velquin" / "registry.reg";
        SetRegistryFilePath(file_.string());
    }
    void TearDown() override {
        SetRegistryFilePath("");
        if (!std::filesystem::exists(folder_)) return;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(folder_);
    }

    void WriteFile(const std::string& text) {
        std::filesystem::create_directories(file_.parent_path());
        std::ofstream(file_, std::ios::binary) << text;
    }
    std::string ReadFile(const std::filesystem::path& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string ReadFile() const { return ReadFile(file_); }
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

    std::filesystem::path folder_, file_;
};
