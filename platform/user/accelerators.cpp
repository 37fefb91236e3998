#include "platform/user/accelerators.h"

#include <map>
#include <vector>

#include "platform/user/internal/desktop.h"
#include "platform/user/message_queue.h"

struct AcceleratorObject {
    std::span<const ACCEL> entries;
};

namespace {

std::map<UINT, AcceleratorObject>& Tables() {
    static std::map<UINT, AcceleratorObject> tables;
    return tables;
}

bool Down(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

void RegisterAcceleratorResource(UINT id, std::span<const ACCEL> entries) {
    Tables()[id] = AcceleratorObject{entries};
}

std::vector<ACCEL> RegisteredAccelerators() {
    std::vector<ACCEL> all;
    for (const auto& [id, table] : Tables())
        all.insert(all.end(), table.entries.begin(), table.entries.end());
    return all;
}

HACCEL LoadAcceleratorsW(HINSTANCE, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    auto it = Tables().find(static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name)));
    return it == Tables().end() ? nullptr : &it->second;
}

int TranslateAcceleratorW(HWND hwnd, HACCEL table, MSG* msg) {
    if (!table || !msg || !hwnd) return 0;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return 0;
    BYTE held = 0;
    if (Down(VK_SHIFT)) held |= FSHIFT;
    if (Down(VK_CONTROL)) held |= FCONTROL;
    if (Down(VK_MENU)) held |= FALT;
    for (const ACCEL& a : table->entries) {
        if (!(a.fVirt & FVIRTKEY) || a.key != msg->wParam) continue;
        if ((a.fVirt & (FSHIFT | FCONTROL | FALT)) != held) continue;
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

SHORT GetKeyState(int virtualKey) {
    const unsigned held = user::TheDesktop().keyModifiers;
    unsigned bit = 0;
    switch (virtualKey) {
        case VK_SHIFT:
            bit = user::ModShift;
            break;
        case VK_CONTROL:
            bit = user::ModControl;
            break;
        case VK_MENU:
            bit = user::ModAlt;
            break;
        default:
            return 0;
    }
    return (held & bit) ? static_cast<SHORT>(0x8000) : 0;
}
