// The registry's keys and values in memory, and their REGEDIT4 text form: one section per key,
// the key's class in a comment line under its header, values in the order first written,
// dword: for 4-byte numbers and hex: for anything else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/crt/utf8.h"

struct HiveValue {
    std::wstring name;  // empty for the key's default value
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

struct HiveKey {
    std::wstring path;  // with its root, e.g. HKEY_CURRENT_USER\Software\Drosk\VelquinPPC
    std::wstring keyClass;
    std::vector<HiveValue> values;

    const HiveValue* Find(const std::wstring& name) const;
    // Replaces the value of that name where it stands, or appends it.
    void Set(const HiveValue& value);
};

struct Hive {
    std::vector<HiveKey> keys;

    HiveKey* Find(const std::wstring& path);
    const HiveKey* Find(const std::wstring& path) const;
    // The key of that path, added at the end when missing.
    HiveKey& Add(const std::wstring& path, const std::wstring& keyClass);
};

// Reads REGEDIT4 text; false when the text is not a hive this program can read.
bool ParseHive(const std::string& text, Hive* hive);
std::string FormatHive(const Hive& hive);

// Names and paths compare without regard to case, as the registry does.
bool SameName(const std::wstring& a, const std::wstring& b);
