// Any text that reads as a hive must write back to text that reads as the same hive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry/hive.h"

namespace {

bool SameHive(const Hive& a, const Hive& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const HiveKey& x = a.keys[k];
        const HiveKey& y = b.keys[k];
        if (x.path != y.path || x.keyClass != y.keyClass || x.values.size() != y.values.size())
            return false;
        for (std::size_t v = 0; v < x.values.size(); ++v) {
            if (x.values[v].name != y.values[v].name || x.values[v].type != y.values[v].type ||
                x.values[v].data != y.values[v].data)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Hive hive;
    if (!ParseHive(std::string(reinterpret_cast<const char*>(data), size), &hive)) return 0;
    Hive again;
    if (!ParseHive(FormatHive(hive), &again) || !SameHive(hive, again)) std::abort();
    return 0;
}
