// The hive's text form: what it writes reads back the same, what a registry editor may write
// reads, and anything else is refused rather than half read.
#include "platform/registry/hive.h"

#include <gtest/gtest.h>

#include <tuple>

bool operator==(const HiveValue& a, const HiveValue& b) {
    return std::tie(a.name, a.type, a.data) == std::tie(b.name, b.type, b.data);
}
void PrintTo(const HiveValue& v, std::ostream* os) {
    *os << testing::PrintToString(std::tie(v.name, v.type, v.data));
}

namespace {

HiveValue Dword(const std::wstring& name, std::uint32_t v) {
    return {name,
            4,
            {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}};
}

// String data as the device keeps them: UTF-16 little-endian with a terminator.
HiveValue String(const std::wstring& name, const std::wstring& text) {
    HiveValue value{name, 1, ToUtf16Data(text)};
    value.data.push_back(0);
    value.data.push_back(0);
    return value;
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
    game.Set(String(L"tab", L"a\tb"));
    game.Set(String(L"one", L"x"));
    game.Set(String(L"beyond the first plane", L"\U0001F600"));
    game.Set({L"not text", 1, {0x00, 0xD8, 0x41, 0x00, 0, 0}});  // a lone half of a pair
    game.Set({L"expand", 2, String(L"", L"%HOME%").data});

    const std::string text = FormatHive(hive);
    EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_NE(text.find("\"version\"=dword:00000014\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"blob\"=hex:00,ab,10\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"odd type\"=hex(7):01,02\r\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default value\"\r\n"), std::string::npos);
    // Only \ and " are escaped; a tab stands between the quotes.
    EXPECT_NE(text.find("\"quote \\\" and \\\\ back\"=\"C:\\\\dir \\\"x\\\"\"\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"tab\"=\"a\tb\"\r\n"), std::string::npos);
    // What cannot stand between quotes is written in the device's 2-byte units.
    EXPECT_NE(text.find("\"line break\"=hex(1):74,00,77,00,6f,00,0d,00,0a,00,6c,00"),
              std::string::npos);
    EXPECT_NE(text.find("\"expand\"=hex(2):25,00,48,00"), std::string::npos);

    Hive back = Parsed(text);
    ASSERT_EQ(back.keys.size(), 2u);
    EXPECT_EQ(std::tie(back.keys[0].path, back.keys[0].keyClass),
              std::tie(game.path, game.keyClass));
    EXPECT_EQ(back.keys[0].values, game.values);
    EXPECT_EQ(back.keys[1].keyClass, L"");
    EXPECT_TRUE(back.keys[1].values.empty());
}

TEST(HiveText, ReadsWhatAnEditorMayWriteInAnyOfItsEncodings) {
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

    using namespace std::string_literals;
    // The last is UTF-16 that holds no header.
    const std::string notHives[] = {"", "garbage", "REGEDIT5\n[HKEY_CURRENT_USER\\A]\n",
                                    "[HKEY_CURRENT_USER\\A]\nREGEDIT4\n", "\xFF\xFEg\0a\0r\0b\0"s};
    for (const std::string& text : notHives) {
        Hive hive;
        EXPECT_FALSE(ParseHive(text, &hive)) << text;
    }
    EXPECT_TRUE(Parsed(FormatHive(Hive{})).keys.empty());  // the header alone is a hive

    std::vector<std::string> lines = {
        "\"value before any key\"=dword:00000001\n[HKEY_CURRENT_USER\\A]\n",
        "[HKEY_CURRENT_USER\\A]\nnot a value line\n",
        "[HKEY_CURRENT_USER\\B\n[HKEY_CURRENT_USER\\A]\n"};
    for (const char* value :
         {"dword:1234567890", "dword:", "dword:00zz0000", "hex:0g", "hex:01,", "hex:1", "hex():01",
          "\"unterminated", "\"bad \\q escape\"", "\"text\" trailing"})
        lines.push_back(std::string("[HKEY_CURRENT_USER\\A]\n\"x\"=") + value + "\n");
    lines.push_back("[HKEY_CURRENT_USER\\A]\n\"x\"\n");
    for (const std::string& line : lines) {
        const std::string text = "REGEDIT4\n" + line + "\"kept\"=dword:00000002\n";
        Hive hive;
        int skipped = 0;
        ASSERT_TRUE(ParseHive(text, &hive, &skipped)) << line;
        EXPECT_EQ(skipped, 1) << line;
        const HiveKey* a = hive.Find(L"HKEY_CURRENT_USER\\A");
        ASSERT_NE(a, nullptr) << line;
        EXPECT_NE(a->Find(L"kept"), nullptr) << line;
        EXPECT_EQ(a->Find(L"x"), nullptr) << line;
    }

    // The same hive written by a registry editor in each of its forms: UTF-8, the Windows code page
    // and UTF-16.
    const std::string utf8 =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Jeu]\r\n"
        "\"Joueur\"=\"Hélène € “œ”\"\r\n\"Année\"=dword:00000007\r\n";

    // The Windows code page: é is E9, € is 80, the quotes 93 and 94, œ is 9C.
    const std::string cp1252 =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Jeu]\r\n"
        "\"Joueur\"=\"H\xE9l\xE8ne \x80 \x93\x9C\x94\"\r\n\"Ann\xE9\x65\"=dword:00000007\r\n";
    // The registry editor's default export: UTF-16 with its byte-order mark and its own header.
    std::wstring v5 =
        L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Jeu]\r\n"
        L"\"Joueur\"=\"Hélène € “œ”\"\r\n\"Année\"=dword:00000007\r\n";
    std::string utf16 = "\xFF\xFE";
    for (std::uint8_t b : ToUtf16Data(v5)) utf16.push_back(static_cast<char>(b));

    const std::vector<HiveValue> expected = {String(L"Joueur", L"Hélène € “œ”"),
                                             Dword(L"Année", 7)};
    const std::string written = FormatHive(Parsed(utf8));
    for (const std::string& text : {utf8, cp1252, utf16}) {
        const Hive read = Parsed(text);
        ASSERT_EQ(read.keys.size(), 1u);
        EXPECT_EQ(read.keys[0].path, L"HKEY_CURRENT_USER\\Software\\Jeu");
        EXPECT_EQ(read.keys[0].values, expected);
        EXPECT_EQ(FormatHive(read), written);  // written back in UTF-8 whatever it was read from
    }
    const Hive again = Parsed(written);  // which reads the same again
    ASSERT_EQ(again.keys.size(), 1u);
    EXPECT_EQ(again.keys[0].values, expected);
}

TEST(HiveText, DeletionLinesRemoveKeysWithTheirSubkeysAndValues) {
    const Hive hive = Parsed(
        "REGEDIT4\n"
        "[HKEY_CURRENT_USER\\A]\n\"a\"=dword:00000001\n\"b\"=dword:00000002\n@=\"default\"\n"
        "[HKEY_CURRENT_USER\\A\\Sub]\n\"s\"=dword:00000003\n"
        "[HKEY_CURRENT_USER\\A\\Sub\\Deeper]\n"
        "[HKEY_CURRENT_USER\\AB]\n\"kept\"=dword:00000004\n"
        "[HKEY_CURRENT_USER\\C]\n\"c1\"=dword:00000005\n\"c2\"=dword:00000006\n"
        "[HKEY_CURRENT_USER\\D]\n\"d\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\A]\n\"b\"=-\n@=-\n\"never there\"=-\n"
        "[-hkey_current_user\\a\\SUB]\n"
        "[HKEY_CURRENT_USER\\C]\n\"c1\"=-\n\"c1\"=dword:00000007\n"
        "[-HKEY_CURRENT_USER\\Nowhere]\n[-HKEY_CURRENT_USER\\D]\n[HKEY_CURRENT_USER\\D]\n");
    std::vector<std::wstring> paths;
    for (const auto& k : hive.keys) paths.push_back(k.path);
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"HKEY_CURRENT_USER\\A", L"HKEY_CURRENT_USER\\AB",
                                                L"HKEY_CURRENT_USER\\C", L"HKEY_CURRENT_USER\\D"}));
    EXPECT_TRUE(hive.keys[3].values.empty());  // deleted and written again: it starts empty
    EXPECT_EQ(hive.keys[0].values, std::vector{Dword(L"a", 1)});
    // A value deleted and set again comes after the others, as a new value does.
    EXPECT_EQ(hive.keys[2].values, (std::vector{Dword(L"c2", 6), Dword(L"c1", 7)}));

    // Deletions among many values, in any case, leave the others found.
    std::string many = "REGEDIT4\n[HKEY_CURRENT_USER\\M]\n";
    for (int i = 0; i < 50; ++i) many += "\"v" + std::to_string(i) + "\"=dword:00000001\n";
    many += "\"v7\"=-\n\"V8\"=-\n[-HKEY_CURRENT_USER\\Q]\n[HKEY_CURRENT_USER\\M]\n\"v9\"=-\n";
    const Hive m = Parsed(many);
    ASSERT_EQ(m.keys.size(), 1u);
    EXPECT_EQ(std::tuple(m.keys[0].values.size(), m.keys[0].Find(L"v8"), !m.keys[0].Find(L"v10")),
              std::tuple(47u, nullptr, false));
}

}  // namespace
