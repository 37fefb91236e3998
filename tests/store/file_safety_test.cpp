// The store's file as a careful program treats it: only a regular file is read or replaced, links
// another user planted are never followed, a root save leaves the player's file the player's, a
// lock held elsewhere costs a few seconds at most, and one process holds the store for its life.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <tuple>

#include "platform/registry/hive_file.h"
#include "store_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kPlayer = 65534, kNeighbour = 65533;

mode_t TypeOf(const fs::path& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

class StoreFiles : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        fs::create_directories(file_.parent_path());
    }
    // Saves bestscore00 = 5, reads it back; 0 when both worked as they should.
    static int SaveAndReadBack() {
        gameState.bestScore[0] = 5;
        if (SaveSettings() != 0) return 1;
        gameState.bestScore[0] = 0;
        if (LoadSettings() != 0 || gameState.bestScore[0] != 5) return 2;
        return 0;
    }
};

TEST_F(StoreFiles, WhatIsNoRegularFileIsNeverReadMovedOrReplaced) {
    const fs::path folder = file_.parent_path();
    std::vector<std::pair<fs::path, mode_t>> cases;
    ASSERT_EQ(mkfifo((folder / "fifo.reg").c_str(), 0600), 0);
    cases.push_back({folder / "fifo.reg", S_IFIFO});
    fs::create_directories(folder / "folder.reg");
    cases.push_back({folder / "folder.reg", S_IFDIR});
    int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A longer name would be cut short, and the socket made under another name.
    const std::string socketPath = (folder / "socket.reg").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path) << "TMPDIR is too deep for a socket";
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    cases.push_back({folder / "socket.reg", S_IFSOCK});
    fs::create_symlink("fifo.reg", folder / "link-to-fifo.reg");
    cases.push_back({folder / "link-to-fifo.reg", S_IFLNK});
    if (geteuid() == 0) {  // a character device, the null device's numbers
        ASSERT_EQ(mknod((folder / "device.reg").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        cases.push_back({folder / "device.reg", S_IFCHR});
    }
    for (const auto& [path, type] : cases) {
        SetRegistryFilePath(path.string());
        testing::internal::CaptureStderr();
        gameState.bestScore[0] = 7;
        EXPECT_EQ(LoadSettings(), -1) << path;  // no hang on the FIFO, nothing read
        EXPECT_EQ(gameState.bestScore[0], 7);
        // The statistics live in memory for the run: saved and read back there.
        EXPECT_EQ(SaveAndReadBack(), 0) << path;
        EXPECT_EQ(SaveAndReadBack(), 0) << path;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(path.string()), std::string::npos) << said;
        EXPECT_NE(said.find("memory"), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "said once: " << said;
        EXPECT_EQ(TypeOf(path), type) << path;
    }
    close(sock);
    // Nothing was made beside them: no lock file, no temporary file, nothing moved aside.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), cases.size()) << ::testing::PrintToString(names);
}

TEST_F(StoreFiles, ALinkToARegularFileIsSavedThroughAndStays) {
    const fs::path real = file_.parent_path() / "elsewhere" / "real.reg";
    fs::create_directories(real.parent_path());
    std::ofstream(real)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"x\"=\"y\"\r\n";
    const fs::path link = file_.parent_path() / "link.reg";
    fs::create_symlink("elsewhere/real.reg", link);
    SetRegistryFilePath(link.string());
    ASSERT_EQ(SaveAndReadBack(), 0);
    EXPECT_EQ(TypeOf(link), S_IFLNK);
    Hive hive;
    ASSERT_TRUE(ParseHive(ReadWhole(real), &hive));
    EXPECT_NE(hive.Find(L"HKEY_CURRENT_USER\\Software\\Other"), nullptr);
    EXPECT_NE(hive.Find(L"HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC"), nullptr);
    EXPECT_TRUE(fs::exists(real.string() + ".lock"));  // beside the file, not the link
    EXPECT_FALSE(fs::exists(link.string() + ".lock"));
    EXPECT_EQ(HiveIdentity(link.string()), HiveIdentity(real.string()));
}

// The README's own example keeps the store in /tmp: another user may plant names there first.
TEST_F(StoreFiles, NamesPlantedInASharedFolderByAnotherUserAreNeverFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as two other users";
    const fs::path shared = folder_ / "shared";
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    const auto keepPrecious = [&] {
        std::ofstream(shared / "precious") << "the player's own file";
        return 0;
    };
    ASSERT_EQ(RunAs(kPlayer, keepPrecious), 0);
    const auto plant = [&] {
        std::error_code e;
        fs::create_symlink(shared / "precious", shared / "planted.reg", e);
        fs::create_symlink(shared / "made-by-lock", shared / "player.reg.lock", e);
        for (int pid = 1; pid < 40; ++pid)
            std::ofstream(shared / ("player.reg.tmp-" + std::to_string(pid))) << "the neighbour's";
        return e ? 1 : 0;
    };
    ASSERT_EQ(RunAs(kNeighbour, plant), 0);
    const auto playAmongThePlanted = [&] {
        // A store named where a link was planted: left alone, kept in memory.
        SetRegistryFilePath((shared / "planted.reg").string());
        if (SaveAndReadBack() != 0) return 1;
        if (TypeOf(shared / "planted.reg") != S_IFLNK) return 2;
        if (ReadWhole(shared / "precious") != "the player's own file") return 3;
        // A planted lock file: the save is given up, nothing made where it points.
        SetRegistryFilePath((shared / "player.reg").string());
        gameState.bestScore[0] = 5;
        if (SaveSettings() == 0) return 4;
        if (fs::exists(shared / "made-by-lock") || fs::exists(shared / "player.reg")) return 5;
        return 0;
    };
    EXPECT_EQ(RunAs(kPlayer, playAmongThePlanted), 0);
    fs::remove(shared / "player.reg.lock");
    const auto play = [&] {
        SetRegistryFilePath((shared / "player.reg").string());
        return SaveAndReadBack();
    };
    EXPECT_EQ(RunAs(kPlayer, play), 0);
    struct stat st;
    ASSERT_EQ(lstat((shared / "player.reg").c_str(), &st), 0);
    EXPECT_EQ(std::tuple(S_ISREG(st.st_mode), st.st_uid), std::tuple(true, kPlayer));
    // The neighbour's files at the old, guessable temporary names were neither written nor removed.
    for (int pid = 1; pid < 40; ++pid)
        EXPECT_EQ(ReadWhole(shared / ("player.reg.tmp-" + std::to_string(pid))), "the neighbour's");
}

TEST_F(StoreFiles, ARootSaveKeepsThePlayersOwnerGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root";
    WriteFile("REGEDIT4\r\n");
    ASSERT_EQ(chown(file_.c_str(), kPlayer, kPlayer), 0);
    ASSERT_EQ(chmod(file_.c_str(), 0640), 0);
    ASSERT_EQ(chown(file_.parent_path().c_str(), kPlayer, kPlayer), 0);
    gameState.bestScore[3] = 12;
    ASSERT_EQ(SaveSettings(), 0);
    struct stat st;
    ASSERT_EQ(stat(file_.c_str(), &st), 0);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777),
              std::tuple(kPlayer, kPlayer, 0640u));
    // The player's next run reads what root saved.
    const auto readBack = [] {
        gameState.bestScore[3] = 0;
        return LoadSettings() == 0 && gameState.bestScore[3] == 12 ? 0 : 1;
    };
    EXPECT_EQ(RunAs(kPlayer, readBack), 0);
}

// Another copy holds the store for its life: a save here costs a few seconds, is given up and is
// tried again at the next one; the store is free the moment its holder dies.
TEST_F(StoreFiles, TheStoreIsHeldForLifeAndFreedTheMomentItsHolderDies) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        char c = ClaimHiveForLife(file_.string()) == HiveClaim::Held ? 'y' : 'n';
        if (write(ready[1], &c, 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    // The same store by another path: a link to its folder.
    const fs::path other = folder_ / "link-to-folder";
    fs::create_symlink(file_.parent_path(), other);
    EXPECT_EQ(ClaimHiveForLife((other / "registry.reg").string()), HiveClaim::InUse);
    EXPECT_EQ(HiveIdentity((other / "registry.reg").string()), HiveIdentity(file_.string()));
    testing::internal::CaptureStderr();
    gameState.bestScore[0] = 5;
    EXPECT_NE(SaveSettings(), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("given up"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_FALSE(fs::exists(file_));

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_EQ(ClaimHiveForLife(file_.string()), HiveClaim::Held);
    // Its own saves go on under the lock it holds.
    EXPECT_EQ(SaveAndReadBack(), 0);
}

TEST_F(StoreFiles, FoldersAreMadeWithoutRecursion) {
    std::string deep = (folder_ / "deep").string();
    for (int i = 0; i < 40000; ++i) deep += "/d";
    SetRegistryFilePath(deep + "/registry.reg");
    EXPECT_NE(SaveSettings(), 0);  // too long a path for the system: refused, no crash
    std::string fine = (folder_ / "fine").string();
    for (int i = 0; i < 300; ++i) fine += "/d";
    SetRegistryFilePath(fine + "/registry.reg");
    EXPECT_EQ(SaveAndReadBack(), 0);
}

// Other programs' keys in the same file: many of them, one with many values, with text in the
// platform's form, a class and a default value; and a value in the game's key it does not know.
TEST_F(StoreFiles, TwentyThousandKeysOfOtherProgramsLoadAndSurviveASave) {
    std::string text = "REGEDIT4\r\n";
    for (int k = 0; k < 20000; ++k)
        text += "\r\n[HKEY_CURRENT_USER\\Software\\Other\\Key" + std::to_string(k) +
                "]\r\n\"Name\"=\"Zoë\tnumber " + std::to_string(k) + "\"\r\n";
    text += "\r\n[HKEY_CURRENT_USER\\Software\\Other\\Key7]\r\n";  // again, with many values
    for (int v = 0; v < 3000; ++v) text += "\"v" + std::to_string(v) + "\"=dword:00000002\r\n";
    text +=
        "\"V2999\"=dword:00000003\r\n\"NAME\"=\"Zoë\tnumber 7\"\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n; class: tools\r\n"
        "\"path\"=\"/usr/share\"\r\n@=hex:de,ad\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC]\r\n\"note\"=dword:00000001\r\n"
        "\"version\"=dword:00000014\r\n\"besttime04\"=dword:00000bb8\r\n";
    WriteFile(text);
    ASSERT_EQ(LoadSettings(), 0);
    EXPECT_EQ(gameState.bestTime[4], 3000u);
    ASSERT_EQ(SaveSettings(), 0);
    const Hive hive = ReadHive();
    ASSERT_EQ(hive.keys.size(), 20002u);
    EXPECT_EQ(hive.keys[19999].path, L"HKEY_CURRENT_USER\\Software\\Other\\Key19999");
    ASSERT_EQ(hive.keys[7].values.size(), 3001u);
    const HiveValue& v2999 = hive.keys[7].values[3000];  // "V2999" set it, under its first name
    EXPECT_EQ(std::tuple(v2999.name, v2999.data[0]), std::tuple(L"v2999", 3));
    EXPECT_EQ(std::tuple(hive.keys[20000].keyClass, hive.keys[20000].values.size()),
              std::tuple(L"tools", 2u));
    ASSERT_EQ(hive.keys[20001].values.size(), 68u);
    EXPECT_EQ(hive.keys[20001].values[0].name, L"note");  // values stay where first written
    EXPECT_NE(ReadFile().find("\"Name\"=\"Zoë\tnumber 12345\"\r\n"), std::string::npos);

    // Through the registry calls, text is wide characters; in the file, two bytes a unit.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Other\\Key7", 0, 0, &key),
              ERROR_SUCCESS);
    wchar_t read[32] = {};
    DWORD type = 0, size = sizeof read;
    ASSERT_EQ(RegQueryValueExW(key, L"name", nullptr, &type, reinterpret_cast<BYTE*>(read), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::tuple(type, std::wstring(read), size),
              std::tuple(REG_SZ, L"Zoë\tnumber 7", sizeof L"Zoë\tnumber 7"));
    const wchar_t one[] = L"é";
    ASSERT_EQ(
        RegSetValueExW(key, L"one", 0, REG_SZ, reinterpret_cast<const BYTE*>(one), sizeof one),
        ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    const Hive after = ReadHive();
    const HiveValue* stored = after.keys[7].Find(L"one");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{0xE9, 0, 0, 0}));
}

}  // namespace
