#include "store/pack_solutions.h"

#include <vector>

#include "platform/crt/wsprintf.h"
#include "platform/registry/registry.h"
#include "store/settings_store.h"

namespace {

constexpr const wchar_t* kKeyClass = L"parameters";  // as the settings key's
// Far beyond any shortest solution a record's board allows; a longer value is no solution.
constexpr DWORD kLongestSolution = 1 << 16;

struct SolutionName {
    wchar_t text[16];
    explicit SolutionName(int i) { wsprintfW(text, L"solution%02i", i); }
};

std::string ReadSolution(HKEY key, const wchar_t* name) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size % sizeof(wchar_t) != 0 || size > kLongestSolution * sizeof(wchar_t))
        return {};
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return {};
    std::string solution;
    for (wchar_t c : text) {
        if (c == L'\0') break;
        if (c < 0x20 || c > 0x7E) return {};
        solution += static_cast<char>(c);
    }
    return solution;
}

}  // namespace

void ReadSolutions(std::string (&solutions)[kPuzzleCount]) {
    for (std::string& s : solutions) s.clear();
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0, 0, &key) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < kPuzzleCount; ++i) solutions[i] = ReadSolution(key, SolutionName(i).text);
    RegCloseKey(key);
}

long WriteSolutions(const std::string (&solutions)[kPuzzleCount]) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0,
                                  const_cast<LPWSTR>(kKeyClass), 0, 0, nullptr, &key, &disposition);
    if (status != ERROR_SUCCESS) return status;
    for (int i = 0; i < kPuzzleCount; ++i) {
        if (solutions[i].empty()) continue;
        const std::wstring text(solutions[i].begin(), solutions[i].end());
        RegSetValueExW(key, SolutionName(i).text, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    return RegCloseKey(key);
}
