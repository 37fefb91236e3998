// The game's menu, toolbar commands and dialog templates for the platform tests: the game's own
// tables, so that the tests run exactly the menu and dialogs the game registers.
#pragma once

#include "resources/game_tables.h"

namespace test_resources {

using game_tables::kMenu;
using game_tables::kOptions;
using game_tables::kRules;
using game_tables::kTools;

}  // namespace test_resources
