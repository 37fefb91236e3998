// The tables the build worked out for the built-in puzzles (made by velquin-hint-tables).
#pragma once

#include "search/hint_data.h"

HintDataView BuiltInHints();
