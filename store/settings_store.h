// The language, the puzzle last started and the statistics of the 16 puzzles, kept from one run
// to the next in the registry key Software\Drosk\VelquinPPC of the current user.
#pragma once

#include <string>

// A pack of puzzles keeps its own full set of values in a key of its own below the game's, named
// `subKey`; an empty name is the game's own key again. The game's key is then never read or
// written.
void UseSettingsSubKey(const std::wstring& subKey);
// The path of the key in use, below HKEY_CURRENT_USER.
const std::wstring& SettingsKeyPath();

// Reads the key into the game state; 0 when it was read, -1 when it cannot be opened.
long LoadSettings();

// Writes all 67 values; 0 on success, otherwise the registry's failure code.
long SaveSettings();

// Whether the statistics in the game state differ from those last read or written: a game booked
// into the totals by an abort that no save point has written since.
bool StatisticsUnsaved();
