// What a board position held in a history slot must look like, checked independently of the
// move rule that wrote it.
#pragma once

#include <string>

#include "engine/board_record.h"

// True when `record` (one history slot) is a position the game can show and move in: sizes
// that fit a slot, row separators where the sizes put them, valid cell codes, the red box on a
// small box and the blue box on a big one, exactly one pusher named by the suffix (shown as 'M'
// only in an empty cell), and the zero byte after the suffix. Otherwise false, with `why`.
bool RecordWellFormed(const char* record, std::string* why);
