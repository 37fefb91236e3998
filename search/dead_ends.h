// Positions that can be seen to have no way out without searching: a box shut for good, a cell
// whose contents can never change. Every rule here is a proof, never a guess: a position it names
// has no way out, and a position it does not name may still have none.
#pragma once

// A record of a board of `width` by `height`. True when the red box can be seen never to reach the
// inside of the blue box.
bool ProvedNoWayOut(const char* record, int width, int height);

// The cheaper half of the proof, for every position of a search: the red box shut in another big
// box, or the blue box holding another small box for good.
bool ShutOut(const char* record, int width, int height);
