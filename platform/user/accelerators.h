// Keyboard accelerators: a table resource from keys to command ids, and its translation in the
// message loop. A key message that matches an entry becomes WM_COMMAND (the code is 1, "from an
// accelerator") sent to the window, and the loop does not dispatch the key itself; a key with no
// entry goes on to its window as before.
#pragma once

#include <span>
#include <vector>

#include "platform/user/user_types.h"

struct AcceleratorObject;
using HACCEL = AcceleratorObject*;

// fVirt flags of an entry. Only virtual-key entries exist here: FVIRTKEY is required.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;  // a virtual-key code
    WORD cmd;
};

// The table must live as long as the program (it is read at every translation).
void RegisterAcceleratorResource(UINT id, std::span<const ACCEL> entries);
// Every entry of every registered table: the keys a backend that shares the keyboard with others
// (a web page's, with the browser's own keys) keeps for the program.
std::vector<ACCEL> RegisteredAccelerators();
// Null when no table of that id is registered. Tables are resources: they need no freeing.
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);  // name: MAKEINTRESOURCEW(id)

// Matches WM_KEYDOWN and WM_SYSKEYDOWN against the table with the modifier keys as they were
// when the key went down (GetKeyState): an entry matches only when exactly its Shift, Ctrl and
// Alt flags are down. On a match sends WM_COMMAND to hwnd and returns nonzero.
int TranslateAcceleratorW(HWND hwnd, HACCEL table, MSG* msg);

// The state of a modifier key (VK_SHIFT, VK_CONTROL, VK_MENU) as of the key message last taken
// from the queue: the high bit is set when it is down.
SHORT GetKeyState(int virtualKey);
