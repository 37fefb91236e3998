#include "platform/registry/registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "platform/registry/hive.h"
#include "platform/registry/hive_file.h"

// A key handle remembers what it read when it was opened and what was set through it since.
// Closing a handle with changes merges them into the file as it stands at that moment, so two
// handles (or two running copies) that change different values both keep their changes.
struct RegistryKey {
    std::wstring path;
    std::wstring keyClass;
    HiveKey snapshot;  // the key as read at open, then with this handle's changes applied
    std::vector<HiveValue> changes;
    bool created = false;  // a new key reaches the file at close even without values
};

namespace {

RegistryKey rootKey{L"HKEY_CURRENT_USER", {}, {}, {}, false};
std::set<RegistryKey*> liveKeys;
std::string filePathOverride;

bool IsLive(HKEY key) {
    return key && liveKeys.count(key);
}

std::wstring ChildPath(HKEY root, LPCWSTR subKey) {
    std::wstring path = root->path;
    if (subKey && *subKey) path += L"\\" + std::wstring(subKey);
    return path;
}

bool ValidRequest(HKEY root, LPCWSTR subKey, PHKEY result) {
    return result && subKey && (root == HKEY_CURRENT_USER || IsLive(root));
}

HKEY NewHandle(std::unique_ptr<RegistryKey> key) {
    HKEY handle = key.release();
    liveKeys.insert(handle);
    return handle;
}

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Key paths, classes and value names stand on one line of the file.
bool OneLine(LPCWSTR text) {
    return !text || !std::wcspbrk(text, L"\r\n");
}

// A store that is no regular file (a device, a FIFO, a folder, a planted link) is never touched:
// its hive lives in memory for the rest of the run.
std::map<std::string, Hive> memoryHives;

Hive* MemoryHive(const std::string& file, const HiveTarget& target) {
    auto found = memoryHives.find(file);
    if (found != memoryHives.end()) return &found->second;
    if (target.kind != HiveTarget::Unusable) return nullptr;
    std::fprintf(stderr,
                 "velquin: the settings file %s is %s; it is left alone and the statistics are "
                 "kept in memory for this run\n",
                 file.c_str(), target.why.c_str());
    return &memoryHives[file];
}

// Reads the hive for a key being opened: under the lock when it can be had, else as the file
// stands (a save replaces it whole, so it is never seen half written).
LONG ReadForOpen(const std::string& file, Hive* hive) {
    const HiveTarget target = FindHiveTarget(file);
    if (Hive* memory = MemoryHive(file, target)) {
        *hive = *memory;
        return ERROR_SUCCESS;
    }
    if (target.kind == HiveTarget::Missing) return ERROR_SUCCESS;
    int skipped = 0;
    LONG error;
    {
        HiveLock lock(target.path);
        error = ReadHiveFile(target.path, hive, &skipped, lock.Result() == HiveLock::Held);
    }
    if (error == ERROR_INVALID_PARAMETER) {  // it changed into something else meanwhile
        hive->keys.clear();
        return ReadForOpen(file, hive);
    }
    static std::set<std::string> told;
    if (skipped > 0 && told.insert(target.path).second)
        std::fprintf(stderr,
                     "velquin: %d %s of the settings file %s cannot be read and %s skipped\n",
                     skipped, skipped == 1 ? "line" : "lines", target.path.c_str(),
                     skipped == 1 ? "is" : "are");
    return error;
}

}  // namespace

const HKEY HKEY_CURRENT_USER = &rootKey;

void SetRegistryFilePath(const std::string& path) {
    filePathOverride = path;
}

std::string RegistryFilePath() {
    if (!filePathOverride.empty()) return filePathOverride;
    std::string path = EnvOrEmpty("VELQUIN_STORE");
    if (!path.empty()) return path;
    // The base-directory rule: a relative XDG_CONFIG_HOME is ignored.
    std::string config = EnvOrEmpty("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {
        std::string home = EnvOrEmpty("HOME");
        if (home.empty() || home[0] != '/') {
            const passwd* user = getpwuid(getuid());
            home = user && user->pw_dir ? user->pw_dir : "";
        }
        config = (home.empty() ? std::string(".") : home) + "/.config";
    }
    return config + "/velquin/registry.reg";
}

LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (!ValidRequest(root, subKey, result)) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Hive hive;
    if (LONG error = ReadForOpen(RegistryFilePath(), &hive); error != ERROR_SUCCESS) return error;
    auto key = std::make_unique<RegistryKey>();
    key->path = ChildPath(root, subKey);
    const HiveKey* stored = hive.Find(key->path);
    if (!stored) return ERROR_FILE_NOT_FOUND;
    key->keyClass = stored->keyClass;
    key->snapshot = *stored;
    *result = NewHandle(std::move(key));
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD, LPWSTR keyClass, DWORD, REGSAM,
                     LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (!ValidRequest(root, subKey, result) || !OneLine(subKey) || !OneLine(keyClass))
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::string file = RegistryFilePath();
    const HiveTarget target = FindHiveTarget(file);
    if (!MemoryHive(file, target)) {
        if (LONG error = PrepareHiveFolder(target.path); error != ERROR_SUCCESS) return error;
    }
    Hive hive;
    if (LONG error = ReadForOpen(file, &hive); error != ERROR_SUCCESS) return error;
    auto key = std::make_unique<RegistryKey>();
    key->path = ChildPath(root, subKey);
    if (const HiveKey* stored = hive.Find(key->path)) {
        key->keyClass = stored->keyClass;
        key->snapshot = *stored;
        if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
    } else {
        key->keyClass = keyClass ? keyClass : L"";
        key->snapshot.path = key->path;
        key->snapshot.keyClass = key->keyClass;
        key->created = true;
        if (disposition) *disposition = REG_CREATED_NEW_KEY;
    }
    *result = NewHandle(std::move(key));
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    if (!IsLive(key)) return ERROR_INVALID_HANDLE;
    if (data && !dataSize) return ERROR_INVALID_PARAMETER;
    const HiveValue* value = key->snapshot.Find(name ? name : L"");
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    // String data are kept in UTF-16 as on the device; a caller reads them as wide characters.
    std::wstring text;
    const std::uint8_t* bytes = value->data.data();
    DWORD size = static_cast<DWORD>(value->data.size());
    if (IsStringType(value->type) && size % 2 == 0) {
        text = FromUtf16Data(bytes, size / 2);
        bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    }
    if (!dataSize) return ERROR_SUCCESS;
    if (!data) {
        *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (size) std::memcpy(data, bytes, size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    if (!IsLive(key)) return ERROR_INVALID_HANDLE;
    if ((dataSize && !data) || !OneLine(name)) return ERROR_INVALID_PARAMETER;
    HiveValue value{name ? name : L"", type, {}};
    if (IsStringType(type) && dataSize % sizeof(wchar_t) == 0) {
        std::wstring text(dataSize / sizeof(wchar_t), L'\0');
        if (dataSize) std::memcpy(text.data(), data, dataSize);
        value.data = ToUtf16Data(text);
    } else if (dataSize) {
        value.data.assign(data, data + dataSize);
    }
    key->snapshot.Set(value);
    key->changes.push_back(std::move(value));
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER) return ERROR_SUCCESS;
    if (!IsLive(key)) return ERROR_INVALID_HANDLE;
    liveKeys.erase(key);
    std::unique_ptr<RegistryKey> owned(key);
    if (!owned->created && owned->changes.empty()) return ERROR_SUCCESS;

    const std::string file = RegistryFilePath();
    const HiveTarget target = FindHiveTarget(file);
    if (Hive* memory = MemoryHive(file, target)) {
        HiveKey& stored = memory->Add(owned->path, owned->keyClass);
        for (const HiveValue& change : owned->changes) stored.Set(change);
        return ERROR_SUCCESS;
    }
    if (LONG error = PrepareHiveFolder(target.path); error != ERROR_SUCCESS) return error;
    HiveLock lock(target.path);
    if (lock.Result() == HiveLock::Busy || lock.Result() == HiveLock::Refused) {
        std::fprintf(stderr,
                     "velquin: the settings file %s is locked %s; this save is given up and "
                     "tried again at the next one\n",
                     target.path.c_str(),
                     lock.Result() == HiveLock::Busy ? "by another program"
                                                     : "through a lock file that is not its own");
        return ERROR_LOCK_VIOLATION;
    }
    Hive hive;
    int skipped = 0;
    if (LONG error = ReadHiveFile(target.path, &hive, &skipped); error != ERROR_SUCCESS)
        return error;
    // The lines that could not be read go with this save: not before the file is kept aside.
    if (skipped > 0 && !KeepHiveCopy(target.path)) return ERROR_ACCESS_DENIED;
    HiveKey& stored = hive.Add(owned->path, owned->keyClass);
    for (const HiveValue& change : owned->changes) stored.Set(change);
    return WriteHiveFile(target.path, hive);
}
