#include "platform/registry/hive.h"

#include <cstdio>
#include <cwctype>
#include <map>
#include <optional>
#include <unordered_map>

namespace {

constexpr wchar_t kHeader4[] = L"REGEDIT4";
constexpr wchar_t kHeader5[] = L"Windows Registry Editor Version 5.00";
constexpr wchar_t kClassComment[] = L"; class: ";
constexpr char kClassCommentOut[] = "; class: ";

// --- the file's characters ---

// Code page 1252's characters for 0x80..0x9F; the five it leaves out map to the C1 controls, as
// Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendCp1252(const char* text, size_t size, std::wstring* out) {
    for (size_t i = 0; i < size; ++i) {
        auto b = static_cast<unsigned char>(text[i]);
        out->push_back(b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(kCp1252High[b - 0x80])
                                             : static_cast<wchar_t>(b));
    }
}

// Appends UTF-8 already known to be valid.
void AppendUtf8(const char* text, size_t size, std::wstring* out) {
    for (size_t i = 0; i < size;) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out->push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
        std::uint32_t c = b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) c = (c << 6) | (text[i + k] & 0x3F);
        out->push_back(static_cast<wchar_t>(c));
        i += 1 + extra;
    }
}

// Whether the text is UTF-8 (no overlong forms, no surrogates), without decoding it.
bool ValidUtf8(const std::string& text, size_t i) {
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra;
        std::uint32_t c;
        if ((b & 0xE0) == 0xC0)
            extra = 1, c = b & 0x1F;
        else if ((b & 0xF0) == 0xE0)
            extra = 2, c = b & 0x0F;
        else if ((b & 0xF8) == 0xF0)
            extra = 3, c = b & 0x07;
        else
            return false;
        if (i + static_cast<size_t>(extra) >= text.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            auto n = static_cast<unsigned char>(text[i + k]);
            if ((n & 0xC0) != 0x80) return false;
            c = (c << 6) | (n & 0x3F);
        }
        static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += 1 + extra;
    }
    return true;
}

// UTF-16 with pairs joined; a lone half of a pair cannot be written back and reads as U+FFFD.
std::wstring FromUtf16Text(const std::string& text, size_t from, bool bigEndian) {
    std::wstring out;
    out.reserve((text.size() - from) / 2);
    auto unit = [&](size_t i) {
        auto a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(text[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (size_t i = from; i + 1 < text.size(); i += 2) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < text.size()) {
            std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                out.push_back(
                    static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00)));
                i += 2;
                continue;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

// --- lines ---

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Reads a quoted text at `pos` (which holds the opening quote) with \\ and \" escapes.
bool ReadQuoted(const std::wstring& line, size_t* pos, std::wstring* out) {
    size_t i = *pos + 1;
    out->clear();
    while (i < line.size()) {
        wchar_t c = line[i];
        if (c == L'"') {
            *pos = i + 1;
            return true;
        }
        if (c == L'\\') {
            if (i + 1 >= line.size()) return false;
            wchar_t e = line[i + 1];
            if (e != L'\\' && e != L'"') return false;
            out->push_back(e);
            i += 2;
            continue;
        }
        out->push_back(c);
        ++i;
    }
    return false;
}

bool ReadHexList(const std::wstring& text, size_t i, std::vector<std::uint8_t>* out) {
    out->clear();
    while (i < text.size()) {
        while (i < text.size() && text[i] == L' ') ++i;
        if (i >= text.size()) break;
        if (i + 1 >= text.size()) return false;
        int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out->push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
        while (i < text.size() && text[i] == L' ') ++i;
        if (i < text.size()) {
            if (text[i] != L',') return false;
            ++i;
            if (i >= text.size()) return false;  // a trailing comma
        }
    }
    return true;
}

bool ReadData(const std::wstring& text, HiveValue* value) {
    if (!text.empty() && text[0] == L'"') {
        size_t pos = 0;
        std::wstring s;
        if (!ReadQuoted(text, &pos, &s) || pos != text.size()) return false;
        value->type = kHiveString;
        value->data = ToUtf16Data(s);
        value->data.push_back(0);
        value->data.push_back(0);
        return true;
    }
    if (text.rfind(L"dword:", 0) == 0) {
        if (text.size() == 6 || text.size() > 14) return false;
        std::uint32_t v = 0;
        for (size_t i = 6; i < text.size(); ++i) {
            int d = HexDigit(text[i]);
            if (d < 0) return false;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        value->type = kHiveDword;
        value->data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                       static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        return true;
    }
    if (text.rfind(L"hex:", 0) == 0) {
        value->type = kHiveBinary;
        return ReadHexList(text, 4, &value->data);
    }
    if (text.rfind(L"hex(", 0) == 0) {
        size_t close = text.find(L"):");
        if (close == std::wstring::npos || close == 4 || close > 12) return false;
        std::uint32_t type = 0;
        for (size_t i = 4; i < close; ++i) {
            int d = HexDigit(text[i]);
            if (d < 0) return false;
            type = type * 16 + static_cast<std::uint32_t>(d);
        }
        value->type = type;
        return ReadHexList(text, close + 2, &value->data);
    }
    return false;
}

void TrimRight(std::wstring* s) {
    size_t end = s->find_last_not_of(L" \t\r");
    s->erase(end == std::wstring::npos ? 0 : end + 1);
}

// The file's lines one at a time, in its encoding, with the continuation lines that end with a
// backslash joined; nothing but the current line is held decoded.
class LineReader {
  public:
    explicit LineReader(const std::string& text) : text_(text) {
        if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
            wide_ = FromUtf16Text(text, 2, text[0] == '\xFE');
            utf16_ = true;
            return;
        }
        pos_ = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
        utf8_ = ValidUtf8(text, pos_);
    }

    bool Next(std::wstring* logical) {
        logical->clear();
        bool continuing = false;
        while (RawLine(&line_)) {
            TrimRight(&line_);
            if (continuing) line_.erase(0, std::min(line_.size(), line_.find_first_not_of(L" \t")));
            const bool more = !line_.empty() && line_.back() == L'\\' && line_[0] != L';';
            if (more) line_.pop_back();
            *logical += line_;
            continuing = more;
            if (!more) return true;
        }
        return continuing;
    }

  private:
    bool RawLine(std::wstring* line) {
        line->clear();
        if (utf16_) {
            if (pos_ >= wide_.size()) return false;
            size_t end = wide_.find(L'\n', pos_);
            if (end == std::wstring::npos) end = wide_.size();
            line->assign(wide_, pos_, end - pos_);
            pos_ = end + 1;
            return true;
        }
        if (pos_ >= text_.size()) return false;
        size_t end = text_.find('\n', pos_);
        if (end == std::string::npos) end = text_.size();
        if (utf8_)
            AppendUtf8(text_.data() + pos_, end - pos_, line);
        else
            AppendCp1252(text_.data() + pos_, end - pos_, line);
        pos_ = end + 1;
        return true;
    }

    const std::string& text_;
    std::wstring wide_, line_;
    size_t pos_ = 0;
    bool utf16_ = false, utf8_ = true;
};

// --- building a hive line by line, with every key and value found through an index ---

std::wstring Folded(const std::wstring& name) {
    std::wstring out(name);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(c));
    return out;
}

class HiveBuilder {
  public:
    explicit HiveBuilder(Hive* hive) : hive_(hive) {}

    size_t AddKey(const std::wstring& path) {
        std::wstring folded = Folded(path);
        auto found = paths_.find(folded);
        if (found != paths_.end()) return found->second;
        hive_->keys.push_back(HiveKey{path, L"", {}});
        keys_.emplace_back();
        const size_t at = hive_->keys.size() - 1;
        if (ordered_) ordered_->emplace(folded, at);
        paths_.emplace(std::move(folded), at);
        return at;
    }

    // The key and every key under it, as [-path] asks.
    void DeleteKey(const std::wstring& path) {
        // The keys in order, so that a key's subtree is one range: made at the first deletion.
        if (!ordered_) ordered_.emplace(paths_.begin(), paths_.end());
        const std::wstring folded = Folded(path);
        if (auto exact = ordered_->find(folded); exact != ordered_->end()) {
            keys_[exact->second].deleted = true;
            paths_.erase(exact->first);
            ordered_->erase(exact);
        }
        const std::wstring below = folded + L"\\";
        auto it = ordered_->lower_bound(below);
        while (it != ordered_->end() && it->first.compare(0, below.size(), below) == 0) {
            keys_[it->second].deleted = true;
            paths_.erase(it->first);
            it = ordered_->erase(it);
        }
    }

    bool HasValues(size_t key) const { return keys_[key].live > 0; }

    void SetValue(size_t key, HiveValue&& value) {
        HiveKey& k = hive_->keys[key];
        Values& v = keys_[key];
        if (long at = Find(key, value.name); at >= 0) {
            k.values[at].type = value.type;
            k.values[at].data = std::move(value.data);
            return;
        }
        k.values.push_back(std::move(value));
        v.gone.push_back(false);
        ++v.live;
        if (v.indexed) v.index.emplace(Folded(k.values.back().name), k.values.size() - 1);
    }

    void DeleteValue(size_t key, const std::wstring& name) {
        long at = Find(key, name);
        if (at < 0) return;
        Values& v = keys_[key];
        v.gone[at] = true;
        --v.live;
        if (v.indexed) v.index.erase(Folded(name));
    }

    // Drops what was deleted, keeping the order of the rest.
    void Finish() {
        size_t kept = 0;
        for (size_t i = 0; i < hive_->keys.size(); ++i) {
            if (keys_[i].deleted) continue;
            HiveKey& key = hive_->keys[i];
            size_t keptValues = 0;
            for (size_t j = 0; j < key.values.size(); ++j) {
                if (keys_[i].gone[j]) continue;
                if (keptValues != j) key.values[keptValues] = std::move(key.values[j]);
                ++keptValues;
            }
            key.values.resize(keptValues);
            if (kept != i) hive_->keys[kept] = std::move(key);
            ++kept;
        }
        hive_->keys.resize(kept);
    }

  private:
    // A key's values are looked up by a scan while they are few, through an index beyond.
    static constexpr size_t kScanLimit = 8;
    struct Values {
        bool deleted = false;
        bool indexed = false;
        size_t live = 0;
        std::vector<bool> gone;
        std::unordered_map<std::wstring, size_t> index;
    };

    long Find(size_t key, const std::wstring& name) {
        HiveKey& k = hive_->keys[key];
        Values& v = keys_[key];
        if (!v.indexed && k.values.size() > kScanLimit) {
            for (size_t j = 0; j < k.values.size(); ++j)
                if (!v.gone[j]) v.index.emplace(Folded(k.values[j].name), j);
            v.indexed = true;
        }
        if (v.indexed) {
            auto found = v.index.find(Folded(name));
            return found == v.index.end() ? -1 : static_cast<long>(found->second);
        }
        for (size_t j = 0; j < k.values.size(); ++j)
            if (!v.gone[j] && SameName(k.values[j].name, name)) return static_cast<long>(j);
        return -1;
    }

    Hive* hive_;
    std::unordered_map<std::wstring, size_t> paths_;
    std::optional<std::map<std::wstring, size_t>> ordered_;
    std::vector<Values> keys_;
};

// --- writing ---

std::string Quote(const std::wstring& text) {
    std::string out = "\"";
    for (char c : ToUtf8(text)) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

// String data that can stand between quotes and read back the same: whole UTF-16 with one
// terminator at its end and no line break.
bool QuotableString(const std::vector<std::uint8_t>& d, std::wstring* text) {
    if (d.size() < 2 || d.size() % 2 != 0 || d[d.size() - 1] != 0 || d[d.size() - 2] != 0)
        return false;
    const size_t units = d.size() / 2 - 1;
    for (size_t i = 0; i < units; ++i) {
        std::uint32_t c = d[2 * i] | (d[2 * i + 1] << 8);
        if (c == 0 || c == L'\r' || c == L'\n') return false;
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 1 >= units) return false;
            std::uint32_t low = d[2 * i + 2] | (d[2 * i + 3] << 8);
            if (low < 0xDC00 || low >= 0xE000) return false;
            ++i;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return false;
        }
    }
    *text = FromUtf16Data(d.data(), units);
    return true;
}

std::string FormatData(const HiveValue& value) {
    const auto& d = value.data;
    if (value.type == kHiveDword && d.size() == 4) {
        std::uint32_t v =
            d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", v);
        return buf;
    }
    std::wstring text;
    if (value.type == kHiveString && QuotableString(d, &text)) return Quote(text);
    std::string out = "hex:";
    if (value.type != kHiveBinary) {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
        out = buf;
    }
    out.reserve(out.size() + d.size() * 3);
    static constexpr char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < d.size(); ++i) {
        if (i) out.push_back(',');
        out.push_back(kDigits[d[i] >> 4]);
        out.push_back(kDigits[d[i] & 15]);
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> ToUtf16Data(const std::wstring& text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    auto unit = [&](std::uint32_t u) {
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

std::wstring FromUtf16Data(const std::uint8_t* data, std::size_t units) {
    std::wstring out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        std::uint32_t c = data[2 * i] | (data[2 * i + 1] << 8);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
            std::uint32_t low = data[2 * i + 2] | (data[2 * i + 3] << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                out.push_back(
                    static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(c));  // a lone half of a pair stays as it is
    }
    return out;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

const HiveValue* HiveKey::Find(const std::wstring& name) const {
    for (const auto& v : values)
        if (SameName(v.name, name)) return &v;
    return nullptr;
}

void HiveKey::Set(const HiveValue& value) {
    for (auto& v : values) {
        if (SameName(v.name, value.name)) {
            v.type = value.type;
            v.data = value.data;
            return;
        }
    }
    values.push_back(value);
}

HiveKey* Hive::Find(const std::wstring& path) {
    for (auto& k : keys)
        if (SameName(k.path, path)) return &k;
    return nullptr;
}

const HiveKey* Hive::Find(const std::wstring& path) const {
    return const_cast<Hive*>(this)->Find(path);
}

HiveKey& Hive::Add(const std::wstring& path, const std::wstring& keyClass) {
    if (HiveKey* k = Find(path)) return *k;
    keys.push_back(HiveKey{path, keyClass, {}});
    return keys.back();
}

bool ParseHive(const std::string& text, Hive* hive, int* skippedLines) {
    hive->keys.clear();
    int skipped = 0;
    HiveBuilder build(hive);
    bool sawHeader = false;
    constexpr size_t kNoKey = static_cast<size_t>(-1);
    size_t key = kNoKey;  // the section the value lines go to; none after a deleted or bad one
    bool keyHadValues = false;
    LineReader reader(text);
    for (std::wstring line; reader.Next(&line);) {
        if (line.empty()) continue;
        if (!sawHeader) {
            if (line != kHeader4 && line != kHeader5) return false;
            sawHeader = true;
            continue;
        }
        if (line[0] == L';') {
            if (key != kNoKey && !keyHadValues && line.rfind(kClassComment, 0) == 0)
                hive->keys[key].keyClass = line.substr(std::size(kClassComment) - 1);
            continue;
        }
        if (line[0] == L'[') {
            key = kNoKey;
            if (line.size() < 3 || line.back() != L']' || (line[1] == L'-' && line.size() < 4)) {
                ++skipped;
            } else if (line[1] == L'-') {
                build.DeleteKey(line.substr(2, line.size() - 3));
            } else {
                key = build.AddKey(line.substr(1, line.size() - 2));
                keyHadValues = build.HasValues(key);
            }
            continue;
        }
        if (key == kNoKey) {
            ++skipped;
            continue;
        }
        HiveValue value;
        size_t pos = 0;
        if (line[0] == L'@') {
            pos = 1;
        } else if (line[0] != L'"' || !ReadQuoted(line, &pos, &value.name)) {
            ++skipped;
            continue;
        }
        if (pos >= line.size() || line[pos] != L'=') {
            ++skipped;
            continue;
        }
        if (line.compare(pos + 1, std::wstring::npos, L"-") == 0) {
            build.DeleteValue(key, value.name);
        } else if (ReadData(line.substr(pos + 1), &value)) {
            build.SetValue(key, std::move(value));
            keyHadValues = true;
        } else {
            ++skipped;
        }
    }
    if (!sawHeader) return false;
    build.Finish();
    if (skippedLines) *skippedLines = skipped;
    return true;
}

std::string FormatHive(const Hive& hive) {
    std::string out = "REGEDIT4\r\n";
    for (const auto& key : hive.keys) {
        out += "\r\n[" + ToUtf8(key.path) + "]\r\n";
        if (!key.keyClass.empty()) out += kClassCommentOut + ToUtf8(key.keyClass) + "\r\n";
        for (const auto& v : key.values) {
            out += v.name.empty() ? std::string("@") : Quote(v.name);
            out += '=';
            out += FormatData(v);
            out += "\r\n";
        }
    }
    return out;
}
