// The plainest count of a puzzle's space there is, to check the search against: whole records as
// strings in a map, the steps of each kept as a list, and the distances to a solved position by
// a breadth-first search backward over those lists.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"

struct ReferenceSpace {
    int width = 0, height = 0;
    std::vector<std::string> records;  // in the order a breadth-first search meets them
    std::map<std::string, int> number;
    std::vector<std::vector<int>> steps;  // the positions each one steps to
    std::vector<int> depth, distance;     // distance -1: no way out

    explicit ReferenceSpace(const std::string& start) {
        width = Digit(start[0]);
        height = Digit(start[1]);
        const int s = SuffixIndex(width, height);
        Add(start, 0);
        for (std::size_t n = 0; n < records.size(); ++n) {
            if (IsSolved(records[n].c_str())) continue;
            char slot[kSlotSize] = {}, next[kSlotSize];
            std::memcpy(slot, records[n].c_str(), records[n].size());
            const int px = Digit(slot[s]), py = Digit(slot[s + 1]);
            for (const auto& d : {std::pair{0, -1}, {0, 1}, {1, 0}, {-1, 0}})
                if (StepBoard(slot, width, height, px + d.first, py + d.second, next) ==
                    StepMoved) {
                    const int reached = Add(next, depth[n] + 1);
                    steps[n].push_back(reached);
                }
        }
        std::vector<std::vector<int>> back(records.size());
        for (std::size_t n = 0; n < records.size(); ++n)
            for (int m : steps[n]) back[m].push_back(static_cast<int>(n));
        distance.assign(records.size(), -1);
        std::vector<int> queue;
        for (std::size_t n = 0; n < records.size(); ++n)
            if (IsSolved(records[n].c_str())) {
                distance[n] = 0;
                queue.push_back(static_cast<int>(n));
            }
        for (std::size_t head = 0; head < queue.size(); ++head)
            for (int m : back[queue[head]])
                if (distance[m] < 0) {
                    distance[m] = distance[queue[head]] + 1;
                    queue.push_back(m);
                }
    }

    static std::string Puzzle(int number) {
        char slot[kSlotSize];
        int width = 0, height = 0;
        StartRecord(number, slot, &width, &height);
        return slot;
    }

  private:
    int Add(const std::string& record, int atDepth) {
        const auto [it, added] = number.emplace(record, static_cast<int>(records.size()));
        if (added) {
            records.push_back(record);
            steps.emplace_back();
            depth.push_back(atDepth);
        }
        return it->second;
    }
};
