#include "store/settings_store.h"

#include "engine/game_state.h"
#include "platform/crt/wsprintf.h"
#include "platform/registry/registry.h"

namespace {

constexpr const wchar_t* kGameKeyPath = L"Software\\Drosk\\VelquinPPC";
constexpr const wchar_t* kKeyClass = L"parameters";
std::wstring keyPath = kGameKeyPath;

// A value is taken only when it is exactly 4 bytes; anything else leaves the field alone.
template <typename Field>
void ReadDword(HKEY key, const wchar_t* name, Field* field) {
    static_assert(sizeof(Field) == 4);
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        size == sizeof value) {
        *field = static_cast<Field>(value);
    }
}

template <typename Field>
void WriteDword(HKEY key, const wchar_t* name, Field field) {
    static_assert(sizeof(Field) == 4);
    DWORD value = static_cast<DWORD>(field);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

struct PuzzleNames {
    wchar_t bestScore[16], bestTime[16], totalScore[16], totalTime[16];
    explicit PuzzleNames(int i) {
        wsprintfW(bestScore, L"bestscore%02i", i);
        wsprintfW(bestTime, L"besttime%02i", i);
        wsprintfW(totalScore, L"totalscore%02i", i);
        wsprintfW(totalTime, L"totaltime%02i", i);
    }
};

// The statistics as last read or written.
struct Statistics {
    std::int32_t bestScore[kPuzzleCount], totalScore[kPuzzleCount];
    std::uint32_t bestTime[kPuzzleCount], totalTime[kPuzzleCount];
};
Statistics lastStored{};

void RememberStored() {
    const GameState& g = gameState;
    for (int i = 0; i < kPuzzleCount; ++i) {
        lastStored.bestScore[i] = g.bestScore[i];
        lastStored.totalScore[i] = g.totalScore[i];
        lastStored.bestTime[i] = g.bestTime[i];
        lastStored.totalTime[i] = g.totalTime[i];
    }
}

}  // namespace

void UseSettingsSubKey(const std::wstring& subKey) {
    keyPath = subKey.empty() ? kGameKeyPath : std::wstring(kGameKeyPath) + L"\\" + subKey;
}

const std::wstring& SettingsKeyPath() {
    return keyPath;
}

bool StatisticsUnsaved() {
    const GameState& g = gameState;
    for (int i = 0; i < kPuzzleCount; ++i) {
        if (lastStored.bestScore[i] != g.bestScore[i] ||
            lastStored.totalScore[i] != g.totalScore[i] ||
            lastStored.bestTime[i] != g.bestTime[i] || lastStored.totalTime[i] != g.totalTime[i])
            return true;
    }
    return false;
}

long LoadSettings() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, 0, &key) != ERROR_SUCCESS) {
        RememberStored();  // the defaults: nothing to keep yet
        return -1;
    }
    GameState& g = gameState;
    std::int32_t storedVersion = 0;
    ReadDword(key, L"version", &storedVersion);
    ReadDword(key, L"langue", &g.language);
    ReadDword(key, L"gamenumber", &g.gameNumber);
    for (int i = 0; i < kPuzzleCount; ++i) {
        PuzzleNames names(i);
        ReadDword(key, names.bestScore, &g.bestScore[i]);
        ReadDword(key, names.bestTime, &g.bestTime[i]);
        ReadDword(key, names.totalScore, &g.totalScore[i]);
        ReadDword(key, names.totalTime, &g.totalTime[i]);
    }
    RegCloseKey(key);

    // Every use of the puzzle number indexes 16 entries: a stored number outside them starts
    // the puzzle it names, the first.
    g.gameNumber = PuzzleIndex(g.gameNumber);

    // Earlier stores kept best times in whole seconds and no usable totals.
    if (storedVersion < kSettingsVersion) {
        for (int i = 0; i < kPuzzleCount; ++i) {
            g.totalScore[i] = g.bestScore[i];
            g.bestTime[i] *= 1000;
            g.totalTime[i] = g.bestTime[i];
        }
    }
    RememberStored();
    return 0;
}

long SaveSettings() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0,
                                  const_cast<LPWSTR>(kKeyClass), 0, 0, nullptr, &key, &disposition);
    if (status != ERROR_SUCCESS) return status;
    const GameState& g = gameState;
    WriteDword(key, L"version", g.version);
    WriteDword(key, L"langue", g.language);
    WriteDword(key, L"gamenumber", g.gameNumber);
    for (int i = 0; i < kPuzzleCount; ++i) {
        PuzzleNames names(i);
        WriteDword(key, names.bestScore, g.bestScore[i]);
        WriteDword(key, names.bestTime, g.bestTime[i]);
        WriteDword(key, names.totalScore, g.totalScore[i]);
        WriteDword(key, names.totalTime, g.totalTime[i]);
    }
    // The values reach the file when the key is closed; a failure there (a full disk, say) is
    // the save's failure too.
    status = RegCloseKey(key);
    if (status == ERROR_SUCCESS) RememberStored();
    return status;
}
