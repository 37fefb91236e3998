// The registry's keys and values in memory, and their text form: one section per key, the key's
// class in a comment line under its header, values in the order first written, dword: for 4-byte
// numbers, quoted text for strings, hex: for anything else. String data are kept as the platform
// keeps them, in UTF-16 little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/crt/utf8.h"

constexpr std::uint32_t kHiveString = 1, kHiveExpandString = 2, kHiveBinary = 3, kHiveDword = 4,
                        kHiveMultiString = 7;

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

// Reads the text a registry editor writes: REGEDIT4 in UTF-8 or, when the file is not UTF-8, in
// the Windows code page 1252; "Windows Registry Editor Version 5.00" in UTF-16 with its byte-order
// mark (or in UTF-8). Deletion lines ([-key], "name"=-) are applied. False only when the text is
// no registry file at all; lines that cannot be read are skipped and counted in `skippedLines`.
bool ParseHive(const std::string& text, Hive* hive, int* skippedLines = nullptr);
// REGEDIT4 text in UTF-8.
std::string FormatHive(const Hive& hive);

// Names and paths compare without regard to case, as the registry does.
bool SameName(const std::wstring& a, const std::wstring& b);

// Text as string data (UTF-16 little-endian, surrogate pairs above the first plane) and back.
std::vector<std::uint8_t> ToUtf16Data(const std::wstring& text);
std::wstring FromUtf16Data(const std::uint8_t* data, std::size_t units);
