// The registry calls over the hive file: what reaches the file and when, how handles and other
// running copies merge, and the answers a caller checks.
#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "store_fixture.h"
#include "tests/kept_variable.h"

namespace {

const std::wstring kRoot = L"HKEY_CURRENT_USER\\";

class RegistryTest : public StoreTest {
  protected:
    static HKEY Create(const wchar_t* subKey, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        wchar_t keyClass[] = L"parameters";
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, keyClass, 0, 0, nullptr, &key,
                                  disposition),
                  ERROR_SUCCESS);
        return key;
    }
    static void SetDword(HKEY key, const wchar_t* name, DWORD value) {
        EXPECT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value),
                  ERROR_SUCCESS);
    }
    const HiveValue* Stored(const std::wstring& subKey, const std::wstring& name) {
        hive_ = ReadHive();
        const HiveKey* key = hive_.Find(kRoot + subKey);
        return key ? key->Find(name) : nullptr;
    }
    Hive hive_;
};

TEST_F(RegistryTest, ValuesReachAPrivateFileWhenTheHandleCloses) {
    DWORD disposition = 0;
    HKEY key = Create(L"Software\\A", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    SetDword(key, L"one", 1);
    EXPECT_FALSE(std::filesystem::exists(file_));
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    ASSERT_NE(Stored(L"Software\\A", L"one"), nullptr);
    EXPECT_EQ(hive_.Find(kRoot + L"Software\\A")->keyClass, L"parameters");
    // File and folder are the user's only, and no temporary file is left behind.
    EXPECT_EQ(std::filesystem::status(file_).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(
        std::filesystem::status(file_.parent_path()).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_all);
    EXPECT_TRUE(OtherFiles().empty());

    key = Create(L"Software\\A", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    SetDword(key, L"two", 2);
    EXPECT_EQ(Stored(L"Software\\A", L"two"), nullptr);
    RegCloseKey(key);
    EXPECT_NE(Stored(L"Software\\A", L"two"), nullptr);
}

// Each handle saves what it set when it closes, merged into what the others saved.
TEST_F(RegistryTest, HandlesAndOtherCopiesMergeTheirOwnValuesAndTheLastWriterWinsOnlyThose) {
    HKEY first = Create(L"Software\\A");
    SetDword(first, L"shared", 1);
    RegCloseKey(first);

    HKEY a = Create(L"Software\\A");
    HKEY b = Create(L"Software\\A");
    HKEY other = Create(L"Software\\B");
    SetDword(a, L"fromA", 10);
    SetDword(b, L"fromB", 20);
    SetDword(b, L"shared", 2);
    SetDword(other, L"y", 3);
    RegCloseKey(b);
    RegCloseKey(other);
    RegCloseKey(a);  // a read "shared" as 1 but never set it: b's 2 stays
    const HiveValue* shared = Stored(L"Software\\A", L"shared");
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->data[0], 2);
    EXPECT_NE(Stored(L"Software\\B", L"y"), nullptr);  // a closing last drops no other key
    // Values stay in the order first written.
    const auto& values = hive_.Find(kRoot + L"Software\\A")->values;
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].name, L"shared");
    EXPECT_NE(hive_.Find(kRoot + L"Software\\A")->Find(L"fromA"), nullptr);
    EXPECT_NE(hive_.Find(kRoot + L"Software\\A")->Find(L"fromB"), nullptr);
    HKEY key = Create(L"Software\\A");
    SetDword(key, L"mine", 1);
    // Another running copy saves its own key while this handle is open.
    WriteFile(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"theirs\"=dword:00000007\r\n");
    RegCloseKey(key);
    EXPECT_NE(Stored(L"Software\\Other", L"theirs"), nullptr);
    EXPECT_NE(Stored(L"Software\\A", L"mine"), nullptr);
}

TEST_F(RegistryTest, QueryAnswersSizeMoreDataMissingAndDeadHandles) {
    HKEY key = Create(L"Software\\A");
    SetDword(key, L"n", 0x01020304);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"n", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::tuple(type, size), std::tuple(REG_DWORD, 4u));

    BYTE small[2] = {0xEE, 0xEE};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExW(key, L"n", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    // Nothing written into a buffer that is too small.
    EXPECT_EQ(std::tuple(size, small[0]), std::tuple(4u, 0xEE));

    DWORD value = 0;
    size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, L"N", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0x01020304u);
    EXPECT_EQ(RegQueryValueExW(key, L"absent", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(key, L"n", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueExW(key, L"n", 0, REG_DWORD, nullptr, 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, OpeningAMissingKeyFailsAndCreatesNothing) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Nowhere", 0, 0, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::tuple(key, std::filesystem::exists(file_)), std::tuple(nullptr, false));

    RegCloseKey(Create(L"Software\\Here"));
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\HERE", 0, 0, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ThePathComesFromTheOptionThenTheEnvironmentAndIsNeverRelative) {
    const KeptVariable store("VELQUIN_STORE"), config("XDG_CONFIG_HOME");
    SetRegistryFilePath("");
    setenv("XDG_CONFIG_HOME", "/tmp/config-home", 1);
    unsetenv("VELQUIN_STORE");
    EXPECT_EQ(RegistryFilePath(), "/tmp/config-home/velquin/registry.reg");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);  // ignored: the path is never relative
    EXPECT_EQ(RegistryFilePath()[0], '/') << RegistryFilePath();
    setenv("VELQUIN_STORE", "/tmp/elsewhere.reg", 1);
    EXPECT_EQ(RegistryFilePath(), "/tmp/elsewhere.reg");
    SetRegistryFilePath("/tmp/given.reg");
    EXPECT_EQ(RegistryFilePath(), "/tmp/given.reg");
}

}  // namespace
