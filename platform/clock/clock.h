// The system tick count: unsigned 32-bit milliseconds, differences taken modulo 2^32.
#pragma once

#include "platform/win_types.h"

DWORD GetTickCount();

// The backend (or a test) decides where ticks come from. With no source set, the tick count is
// the milliseconds of a steady clock since the program started.
using TickSource = DWORD (*)();
void SetTickSource(TickSource source);
