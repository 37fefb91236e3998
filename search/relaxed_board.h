// The lighter game that bounds a puzzle from below: the same board with its big boxes, the red box
// and the boxes that can never move, every other small box taken away. Whatever the whole game can
// do, the lighter one can do in as many steps or fewer, so its distance to a solved position never
// overestimates the whole game's, and a position with no way out there has none here either.
#pragma once

class RelaxedBoard {
  public:
    // `start` is the puzzle's first position, with its pusher suffix.
    explicit RelaxedBoard(const char* start);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The lighter game's position for a position of the puzzle (one reachable from its start),
    // written with its zero byte into `slot`.
    void Project(const char* record, char* slot) const;

  private:
    int width_ = 0, height_ = 0;
    // Cells whose small box is kept wherever the game goes: a small box in a big box open on
    // another side, with the pusher outside both, can never be reached again.
    bool keep_[36] = {};
};
