#include "platform/registry/hive.h"

#include <cstdio>
#include <cwctype>
#include <sstream>

namespace {

constexpr char kHeader[] = "REGEDIT4";
constexpr char kClassComment[] = "; class: ";
constexpr std::uint32_t kTypeString = 1;
constexpr std::uint32_t kTypeBinary = 3;
constexpr std::uint32_t kTypeDword = 4;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text at `pos` (which holds the opening quote) with \\ and \" escapes.
bool ReadQuoted(const std::string& line, size_t* pos, std::string* out) {
    size_t i = *pos + 1;
    out->clear();
    while (i < line.size()) {
        char c = line[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= line.size()) return false;
            char e = line[i + 1];
            if (e != '\\' && e != '"') return false;
            out->push_back(e);
            i += 2;
            continue;
        }
        out->push_back(c);
        ++i;
    }
    return false;
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

bool ReadHexList(const std::string& text, std::vector<std::uint8_t>* out) {
    out->clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i >= text.size()) break;
        if (i + 1 >= text.size()) return false;
        int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out->push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
        while (i < text.size() && text[i] == ' ') ++i;
        if (i < text.size()) {
            if (text[i] != ',') return false;
            ++i;
            if (i >= text.size()) return false;  // a trailing comma
        }
    }
    return true;
}

bool ReadData(const std::string& text, HiveValue* value) {
    if (!text.empty() && text[0] == '"') {
        size_t pos = 0;
        std::string s;
        if (!ReadQuoted(text, &pos, &s) || pos != text.size()) return false;
        std::wstring w;
        if (!FromUtf8(s, &w)) return false;
        value->type = kTypeString;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(w.c_str());
        value->data.assign(bytes, bytes + (w.size() + 1) * sizeof(wchar_t));
        return true;
    }
    if (text.rfind("dword:", 0) == 0) {
        std::string digits = text.substr(6);
        if (digits.empty() || digits.size() > 8) return false;
        std::uint32_t v = 0;
        for (char c : digits) {
            int d = HexDigit(c);
            if (d < 0) return false;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        value->type = kTypeDword;
        value->data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                       static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        return true;
    }
    if (text.rfind("hex:", 0) == 0) {
        value->type = kTypeBinary;
        return ReadHexList(text.substr(4), &value->data);
    }
    if (text.rfind("hex(", 0) == 0) {
        size_t close = text.find("):");
        if (close == std::string::npos || close == 4 || close > 12) return false;
        std::uint32_t type = 0;
        for (size_t i = 4; i < close; ++i) {
            int d = HexDigit(text[i]);
            if (d < 0) return false;
            type = type * 16 + static_cast<std::uint32_t>(d);
        }
        value->type = type;
        return ReadHexList(text.substr(close + 2), &value->data);
    }
    return false;
}

// A text written between quotes must read back the same: no line breaks or other control
// characters, nothing that is not a Unicode character.
bool QuotableText(const std::wstring& text) {
    for (wchar_t wc : text.substr(0, text.size() - 1)) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c < 0x20 || c == 0x7F || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    }
    return true;
}

std::string FormatData(const HiveValue& value) {
    const auto& d = value.data;
    if (value.type == kTypeDword && d.size() == 4) {
        std::uint32_t v =
            d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", v);
        return buf;
    }
    if (value.type == kTypeString && d.size() % sizeof(wchar_t) == 0 && !d.empty()) {
        std::wstring w(reinterpret_cast<const wchar_t*>(d.data()), d.size() / sizeof(wchar_t));
        if (w.back() == L'\0' && w.find(L'\0') == w.size() - 1 && QuotableText(w)) {
            w.pop_back();
            return Quote(ToUtf8(w));
        }
    }
    std::string prefix = "hex:";
    if (value.type != kTypeBinary) {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
        prefix = buf;
    }
    std::string list;
    for (size_t i = 0; i < d.size(); ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", d[i]);
        list += buf;
    }
    return prefix + list;
}

std::string TrimRight(const std::string& s) {
    size_t end = s.find_last_not_of(" \t\r");
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

std::string TrimLeft(const std::string& s) {
    size_t start = s.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : s.substr(start);
}

// Splits into lines, joining the continuation lines that end with a backslash.
std::vector<std::string> LogicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line, pending;
    bool continuing = false;
    while (std::getline(in, line)) {
        line = TrimRight(line);
        if (continuing) line = TrimLeft(line);
        bool more = !line.empty() && line.back() == '\\' && line[0] != ';';
        if (more) line.pop_back();
        pending += line;
        continuing = more;
        if (!more) {
            lines.push_back(pending);
            pending.clear();
        }
    }
    if (continuing) lines.push_back(pending);
    return lines;
}

}  // namespace

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
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

bool ParseHive(const std::string& text, Hive* hive) {
    hive->keys.clear();
    std::string body = text;
    if (body.rfind("\xEF\xBB\xBF", 0) == 0) body.erase(0, 3);
    bool sawHeader = false;
    HiveKey* key = nullptr;
    bool keyHasValues = false;
    for (const std::string& line : LogicalLines(body)) {
        if (line.empty()) continue;
        if (!sawHeader) {
            if (line != kHeader) return false;
            sawHeader = true;
            continue;
        }
        if (line[0] == ';') {
            if (key && !keyHasValues && line.rfind(kClassComment, 0) == 0) {
                if (!FromUtf8(line.substr(sizeof kClassComment - 1), &key->keyClass)) return false;
            }
            continue;
        }
        if (line[0] == '[') {
            if (line.size() < 3 || line.back() != ']' || line[1] == '-') return false;
            std::wstring path;
            if (!FromUtf8(line.substr(1, line.size() - 2), &path)) return false;
            key = &hive->Add(path, L"");
            keyHasValues = !key->values.empty();
            continue;
        }
        if (!key) return false;
        HiveValue value;
        size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (line[0] == '"') {
            std::string name;
            if (!ReadQuoted(line, &pos, &name) || !FromUtf8(name, &value.name)) return false;
        } else {
            return false;
        }
        if (pos >= line.size() || line[pos] != '=') return false;
        if (!ReadData(line.substr(pos + 1), &value)) return false;
        key->Set(value);
        keyHasValues = true;
    }
    return sawHeader;
}

std::string FormatHive(const Hive& hive) {
    std::string out = std::string(kHeader) + "\r\n";
    for (const auto& key : hive.keys) {
        out += "\r\n[" + ToUtf8(key.path) + "]\r\n";
        if (!key.keyClass.empty()) out += kClassComment + ToUtf8(key.keyClass) + "\r\n";
        for (const auto& v : key.values) {
            out += v.name.empty() ? std::string("@") : Quote(ToUtf8(v.name));
            out += "=" + FormatData(v) + "\r\n";
        }
    }
    return out;
}
