// The string table of the program's resources.
#pragma once

#include "platform/user/user_types.h"

void RegisterStringResource(UINT id, LPCWSTR text);  // text must live as long as the program
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
