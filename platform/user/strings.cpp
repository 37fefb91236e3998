#include "platform/user/strings.h"

#include <cwchar>
#include <map>

namespace {

std::map<UINT, LPCWSTR>& Table() {
    static std::map<UINT, LPCWSTR> table;
    return table;
}

}  // namespace

void RegisterStringResource(UINT id, LPCWSTR text) {
    Table()[id] = text;
}

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int size) {
    auto it = Table().find(id);
    if (it == Table().end() || !buffer || size <= 0) return 0;
    int n = static_cast<int>(std::wcslen(it->second));
    if (n > size - 1) n = size - 1;
    std::wmemcpy(buffer, it->second, static_cast<size_t>(n));
    buffer[n] = L'\0';
    return n;
}
