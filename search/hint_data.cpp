#include "search/hint_data.h"

#include <algorithm>
#include <cstring>

#include "engine/game_state.h"

namespace {

// Each entry: its kind, its start with zeros up to a slot's size, its length, its bytes.
constexpr std::size_t kHeader = 1 + kSlotSize + 4;

}  // namespace

std::vector<std::uint8_t> PackHintData(const std::vector<HintDataEntry>& entries) {
    std::vector<std::uint8_t> data;
    for (const HintDataEntry& entry : entries) {
        std::uint8_t header[kHeader] = {};
        header[0] = entry.kind;
        std::memcpy(header + 1, entry.start.data(),
                    std::min<std::size_t>(entry.start.size(), kSlotSize - 1));
        const auto size = static_cast<std::uint32_t>(entry.bytes.size());
        std::memcpy(header + 1 + kSlotSize, &size, 4);
        data.insert(data.end(), header, header + kHeader);
        data.insert(data.end(), entry.bytes.begin(), entry.bytes.end());
    }
    return data;
}

std::optional<HintDataView> FindHintData(HintDataView data, HintDataKind kind, const char* start) {
    std::size_t at = 0;
    while (at + kHeader <= data.size) {
        const std::uint8_t* header = data.bytes + at;
        std::uint32_t size;
        std::memcpy(&size, header + 1 + kSlotSize, 4);
        if (size > data.size - at - kHeader) return std::nullopt;
        const char* entryStart = reinterpret_cast<const char*>(header + 1);
        if (header[0] == kind && strncmp(entryStart, start, kSlotSize) == 0)
            return HintDataView{header + kHeader, size};
        at += kHeader + size;
    }
    return std::nullopt;
}
