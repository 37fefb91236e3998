#include "search/position_table.h"

#ifdef __EMSCRIPTEN__
// The hash library names 64-bit integers as the BSD systems do; emscripten's C library keeps that
// name for BSD sources only.
#include <cstdint>
typedef std::uint64_t u_int64_t;
#endif
// The hash library's seeds are set before they are read, which GCC cannot always follow.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <BooPHF.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>

namespace {

using Mphf = boomphf::mphf<std::uint64_t, boomphf::SingleHashFunctor<std::uint64_t>>;

constexpr char kMagic[4] = {'V', 'Q', 'P', 'T'};

// The table's bytes: the magic, the count, the value width, the hash's size, the hash, then the
// values packed `bits` at a time into 64-bit words.
struct Header {
    char magic[4];
    std::uint32_t count;
    std::uint32_t bits;
    std::uint32_t hashBytes;
};

std::size_t WordsFor(std::size_t count, int bits) {
    return (count * static_cast<std::size_t>(bits) + 63) / 64;
}

// The hash library writes two of its counts as a machine word: 8 bytes where the tables are
// worked out, 4 in WebAssembly. A table keeps the 8-byte form, which this reads through, and
// rewrites into `out` with counts of `word` bytes (when `out` is given). Its form: the load
// factor (8 bytes), the number of levels (4), two counts (8 each); for each level its bits (8),
// its words (8), the words, the count of its ranks (a word) and the ranks (8 each); then the count
// of the keys kept apart (a word) and each of them with its place (8 + 8). False when the bytes
// are not of that form.
bool ReadHashForm(const char* bytes, std::size_t size, std::size_t word, std::string* out) {
    std::size_t at = 0;
    auto copy = [&](std::uint64_t count) {
        if (count > size - at) return false;
        if (out) out->append(bytes + at, count);
        at += count;
        return true;
    };
    auto peek = [&](std::size_t count, std::uint64_t* value) {
        if (count > size - at) return false;
        *value = 0;
        std::memcpy(value, bytes + at, count);
        return true;
    };
    auto count = [&](std::uint64_t* value) {
        if (!peek(8, value)) return false;
        at += 8;
        if (out) out->append(reinterpret_cast<const char*>(value), word);
        return true;
    };
    std::uint64_t levels = 0, value = 0;
    if (!copy(8) || !peek(4, &levels) || !copy(4) || !copy(16)) return false;
    for (std::uint64_t level = 0; level < levels; ++level) {
        std::uint64_t words = 0;
        if (!copy(8) || !peek(8, &words) || !copy(8) || words > size / 8 || !copy(words * 8) ||
            !count(&value) || value > size / 8 || !copy(value * 8))
            return false;
    }
    return count(&value) && value <= size / 16 && copy(value * 16) && at == size;
}

// Reads the hash from memory where it stands.
struct MemoryBuffer : std::streambuf {
    MemoryBuffer(const char* bytes, std::size_t size) {
        char* begin = const_cast<char*>(bytes);
        setg(begin, begin, begin + size);
    }
};

}  // namespace

struct PositionTable::Hash {
    Mphf mphf;
};

PositionTable::PositionTable() = default;
PositionTable::PositionTable(PositionTable&&) noexcept = default;
PositionTable& PositionTable::operator=(PositionTable&&) noexcept = default;
PositionTable::~PositionTable() = default;

std::optional<std::vector<std::uint8_t>> PositionTable::Build(
    const std::vector<PositionKey>& keys, const std::vector<std::uint32_t>& values, int bits) {
    if (keys.size() != values.size() || bits < 1 || bits > 32 || keys.size() > UINT32_MAX)
        return std::nullopt;
    std::vector<std::uint64_t> hashes(keys.size());
    std::transform(keys.begin(), keys.end(), hashes.begin(), HashKey);
    {
        std::vector<std::uint64_t> sorted = hashes;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return std::nullopt;
    }
    // One thread, no progress lines, nothing written to disk.
    Mphf mphf(hashes.size(), boomphf::range(hashes.begin(), hashes.end()), 1, 2.0, false, false);
    std::ostringstream hashOut;
    mphf.save(hashOut);
    const std::string hashBytes = hashOut.str();

    std::vector<std::uint64_t> packed(WordsFor(keys.size(), bits), 0);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::size_t at = mphf.lookup(hashes[i]) * static_cast<std::size_t>(bits);
        const std::uint64_t value = values[i] & ((std::uint64_t{1} << bits) - 1);
        packed[at / 64] |= value << (at % 64);
        if (at % 64 + bits > 64) packed[at / 64 + 1] |= value >> (64 - at % 64);
    }

    Header header;
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.count = static_cast<std::uint32_t>(keys.size());
    header.bits = static_cast<std::uint32_t>(bits);
    header.hashBytes = static_cast<std::uint32_t>(hashBytes.size());
    std::vector<std::uint8_t> bytes(sizeof header + hashBytes.size() + packed.size() * 8);
    std::uint8_t* out = bytes.data();
    std::memcpy(out, &header, sizeof header);
    std::memcpy(out + sizeof header, hashBytes.data(), hashBytes.size());
    std::memcpy(out + sizeof header + hashBytes.size(), packed.data(), packed.size() * 8);
    return bytes;
}

std::optional<PositionTable> PositionTable::Load(const std::uint8_t* bytes, std::size_t size) {
    Header header;
    if (size < sizeof header) return std::nullopt;
    std::memcpy(&header, bytes, sizeof header);
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.bits < 1 ||
        header.bits > 32)
        return std::nullopt;
    const std::size_t words = WordsFor(header.count, static_cast<int>(header.bits));
    if (size != sizeof header + header.hashBytes + words * 8) return std::nullopt;

    PositionTable table;
    table.hash_ = std::make_unique<Hash>();
    const char* hash = reinterpret_cast<const char*>(bytes + sizeof header);
    // Read through on every machine, so that a table of another form is refused anywhere.
    std::string native;
    const bool rewrite = sizeof(std::size_t) != 8;
    if (!ReadHashForm(hash, header.hashBytes, sizeof(std::size_t), rewrite ? &native : nullptr))
        return std::nullopt;
    MemoryBuffer buffer(rewrite ? native.data() : hash, rewrite ? native.size() : header.hashBytes);
    std::istream hashIn(&buffer);
    table.hash_->mphf.load(hashIn);
    if (!hashIn) return std::nullopt;
    table.values_ = bytes + sizeof header + header.hashBytes;
    table.size_ = header.count;
    table.bits_ = static_cast<int>(header.bits);
    return table;
}

std::uint32_t PositionTable::At(const PositionKey& key) const {
    const std::uint64_t index = hash_->mphf.lookup(HashKey(key));
    if (index >= size_) return 0;
    const std::size_t at = index * static_cast<std::size_t>(bits_);
    std::uint64_t word;
    std::memcpy(&word, values_ + at / 64 * 8, 8);
    std::uint64_t value = word >> (at % 64);
    if (at % 64 + bits_ > 64) {
        std::memcpy(&word, values_ + at / 64 * 8 + 8, 8);
        value |= word << (64 - at % 64);
    }
    return static_cast<std::uint32_t>(value & ((std::uint64_t{1} << bits_) - 1));
}
