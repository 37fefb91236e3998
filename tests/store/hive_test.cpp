// The hive's text form: what it writes reads back the same, what a registry editor may write
// reads, and anything else is refused rather than half read.
#include "platform/registry/hive.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

HiveValue Dword(const std::wstring& name, std::uint32_t v) {
    return {name,
            4,
            {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}};
}

HiveValue String(const std::wstring& name, const std::wstring& text) {
    HiveValue value{name, 1, {}};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    value.data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    return value;
}

bool operator==(const HiveValue& a, const HiveValue& b) {
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

Hive Parsed(const std::string& text) {
    Hive hive;
    EXPECT_TRUE(ParseHive(text, &hive)) << text;
    return hive;
}

TEST(HiveText, EveryKindOfValueSurvivesARoundTrip) {
    Hive hive;
    hive.Add(L"HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC", L"Velquin");
    hive.Add(L"HKEY_CURRENT_USER\\Software\\Other", L"");
    HiveKey& game = hive.keys[0];
    game.Set(Dword(L"version", 20));
    game.Set(Dword(L"big", 0xFFFFFFFFu));
    game.Set({L"blob", 3, {0x00, 0xAB, 0x10}});
    game.Set({L"odd type", 7, {0x01, 0x02}});
    game.Set({L"empty", 3, {}});
    game.Set({L"short dword", 4, {0x01, 0x02}});  // not 4 bytes: kept as bytes of type 4
    game.Set(String(L"", L"default value"));
    game.Set(String(L"quote \" and \\ back", L"C:\\dir \"x\""));
    game.Set(String(L"langue", L"Français é è à ç ê ô"));
    game.Set(String(L"line break", L"two\r\nlines"));  // not quotable: kept as bytes
    game.Set({L"not text", 1, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}});

    const std::string text = FormatHive(hive);
    EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_NE(text.find("\"version\"=dword:00000014\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"blob\"=hex:00,ab,10\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"odd type\"=hex(7):01,02\r\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default value\"\r\n"), std::string::npos);

    Hive back = Parsed(text);
    ASSERT_EQ(back.keys.size(), 2u);
    EXPECT_EQ(back.keys[0].path, game.path);
    EXPECT_EQ(back.keys[0].keyClass, L"Velquin");
    ASSERT_EQ(back.keys[0].values.size(), game.values.size());
    for (size_t i = 0; i < game.values.size(); ++i)
        EXPECT_TRUE(back.keys[0].values[i] == game.values[i]) << i;
    EXPECT_EQ(back.keys[1].keyClass, L"");
    EXPECT_TRUE(back.keys[1].values.empty());
}

TEST(HiveText, ReadsWhatAnEditorMayWrite) {
    Hive hive = Parsed(
        "\xEF\xBB\xBFREGEDIT4\n"
        "\n"
        "; a comment before any key\n"
        "[HKEY_CURRENT_USER\\Software\\Game]\n"
        "\"Data\"=hex:01,02,\\\n"
        "  03,04\n"
        "\"Count\"=dword:0000000A   \r\n"
        "[hkey_current_user\\software\\GAME]\n"
        "\"count\"=dword:0000000b\n");
    ASSERT_EQ(hive.keys.size(), 1u);  // paths and names compare without case
    const HiveKey& key = hive.keys[0];
    ASSERT_EQ(key.values.size(), 2u);
    EXPECT_EQ(key.values[0].data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(key.values[1].data, (std::vector<std::uint8_t>{11, 0, 0, 0}));
    EXPECT_EQ(key.values[1].name, L"Count");  // replaced where it stood
}

TEST(HiveText, AnEmptyHiveIsJustTheHeader) {
    Hive hive = Parsed(FormatHive(Hive{}));
    EXPECT_TRUE(hive.keys.empty());
}

TEST(HiveText, RefusesWhatItCannotReadWhole) {
    const char* damaged[] = {
        "",
        "garbage",
        "REGEDIT5\n[HKEY_CURRENT_USER\\A]\n",
        "[HKEY_CURRENT_USER\\A]\nREGEDIT4\n",
        "REGEDIT4\n\"value before any key\"=dword:00000001\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\nnot a value line\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A\n",
        "REGEDIT4\n[-HKEY_CURRENT_USER\\A]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:1234567890\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:00zz0000\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:0g\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:01,\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:1\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex():01\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"unterminated\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"bad \\q escape\"\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"text\" trailing\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"\xC3\"\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\\xFF]\n",
    };
    for (const char* text : damaged) {
        Hive hive;
        EXPECT_FALSE(ParseHive(text, &hive)) << text;
    }
}

}  // namespace
