// Every position reachable from one start, each with its distance to the nearest solved position:
// the count behind `velquin-solve --space`, the puzzle generator and the checks of the hints.
// Solved positions end a line, as the game stops there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "search/board_codec.h"

class Space {
  public:
    // The distance of a position from which no solved position can be reached.
    static constexpr std::uint16_t kNoWayOut = 0xFFFF;

    // Explores every position reachable from `start` (a record with its pusher suffix). Nothing
    // when the record is not one the game can hold, or when more than `limit` positions (or a
    // distance of 65,535 steps or more) are reachable.
    static std::unique_ptr<Space> Explore(const char* start, std::size_t limit);
    virtual ~Space() = default;

    const BoardCodec& Codec() const { return codec_; }
    // Positions, numbered in the order a breadth-first search from the start meets them: the
    // start is 0, and numbers grow with the distance from the start.
    virtual std::size_t Size() const = 0;
    std::size_t Solved() const { return solved_; }
    std::size_t Dead() const { return dead_; }  // positions with no way out
    int Largest() const { return largest_; }    // the largest finite distance

    // Steps from position n to the nearest solved position, or kNoWayOut.
    std::uint16_t Distance(std::size_t n) const { return distance_[n]; }
    // Steps from the start to position n.
    std::uint16_t Depth(std::size_t n) const { return depth_[n]; }
    virtual PositionKey Key(std::size_t n) const = 0;
    void Record(std::size_t n, char* slot) const { codec_.Decode(Key(n), slot); }
    // The number of a position of this board, if it is reachable.
    std::optional<std::size_t> Find(const char* record) const;
    virtual std::optional<std::size_t> Find(const PositionKey& key) const = 0;

    // Positions to measure the hints on: up to 8 of the farthest from a solved one, then `count`
    // drawn at random with a way out and `count` without (as many as there are), the same ones
    // every time.
    struct Sample {
        std::string record;
        int distance;  // -1: no way out
    };
    std::vector<Sample> Samples(int count) const;

  protected:
    explicit Space(const BoardCodec& codec) : codec_(codec) {}

    BoardCodec codec_;
    std::unique_ptr<std::uint16_t[]> distance_, depth_;
    std::size_t solved_ = 0, dead_ = 0;
    int largest_ = 0;
};
