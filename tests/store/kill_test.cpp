// A copy of the game killed at any moment while it saves leaves the statistics either as they
// were or as they became: never torn, never lost, and no temporary file piles up.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdint>
#include <random>

#include "store_fixture.h"

namespace {

namespace fs = std::filesystem;

// Save number n writes n as puzzle 0's total score and a total time that must agree with it.
constexpr std::uint32_t TimeFor(std::int32_t n) {
    return static_cast<std::uint32_t>(n) * 7u + 3u;
}

// The child: saves from `first` on, telling the parent through `out` each save that completed.
[[noreturn]] void SaveForever(std::int32_t first, int out) {
    gameState.version = kSettingsVersion;
    for (std::int32_t n = first;; ++n) {
        gameState.totalScore[0] = n;
        gameState.totalTime[0] = TimeFor(n);
        if (SaveSettings() != 0) _exit(3);
        if (write(out, &n, sizeof n) != sizeof n) _exit(4);
    }
}

class KilledWhileSaving : public StoreTest {};

TEST_F(KilledWhileSaving, TheHiveIsAlwaysTheOldOrTheNewOne) {
    std::mt19937 random(20261207);
    std::int32_t confirmed = 0;  // the last save the child reported finished
    int kills = 0, saves = 0, caughtMidSave = 0;
    while (saves < 1000) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeEnds[0]);
            SaveForever(confirmed + 1, pipeEnds[1]);
        }
        close(pipeEnds[1]);
        // Let it finish a few saves, then kill it somewhere inside a later one.
        const int wanted = 1 + static_cast<int>(random() % 40);
        std::int32_t n = 0;
        for (int i = 0; i < wanted && read(pipeEnds[0], &n, sizeof n) == sizeof n; ++i) {
            confirmed = n;
            ++saves;
        }
        usleep(random() % 1500);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself: " << status;
        while (read(pipeEnds[0], &n, sizeof n) == sizeof n) confirmed = n, ++saves;
        close(pipeEnds[0]);
        ++kills;

        // Whatever the moment, the file reads back whole: the last finished save or the one
        // under way, with its two values agreeing.
        std::memset(&gameState, 0, sizeof gameState);
        gameState.version = kSettingsVersion;
        ASSERT_EQ(LoadSettings(), 0);
        const std::int32_t stored = gameState.totalScore[0];
        ASSERT_TRUE(stored == confirmed || stored == confirmed + 1)
            << "after kill " << kills << ": stored " << stored << ", last saved " << confirmed;
        ASSERT_EQ(gameState.totalTime[0], TimeFor(stored));
        caughtMidSave += stored != confirmed;
        confirmed = stored;
        // No damaged file was moved aside, and at most the dead copy's temporary file remains.
        const std::vector<std::string> others = OtherFiles();
        ASSERT_LE(others.size(), 1u);
        for (const std::string& name : others) ASSERT_EQ(name.find("damaged"), std::string::npos);
    }
    std::printf(
        "%d saves, %d kills, %d of them after the file was replaced but before the save "
        "was reported\n",
        saves, kills, caughtMidSave);
}

}  // namespace
