#include "platform/registry/registry.h"

#include <cstdlib>
#include <cstring>
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

}  // namespace

const HKEY HKEY_CURRENT_USER = &rootKey;

void SetRegistryFilePath(const std::string& path) {
    filePathOverride = path;
}

std::string RegistryFilePath() {
    if (!filePathOverride.empty()) return filePathOverride;
    std::string path = EnvOrEmpty("VELQUIN_STORE");
    if (!path.empty()) return path;
    std::string config = EnvOrEmpty("XDG_CONFIG_HOME");
    if (config.empty()) {
        std::string home = EnvOrEmpty("HOME");
        config = (home.empty() ? std::string(".") : home) + "/.config";
    }
    return config + "/velquin/registry.reg";
}

LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (!ValidRequest(root, subKey, result)) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::string file = RegistryFilePath();
    Hive hive;
    {
        HiveLock lock(file);
        if (LONG error = ReadHiveFile(file, &hive); error != ERROR_SUCCESS) return error;
    }
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
    if (!ValidRequest(root, subKey, result)) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::string file = RegistryFilePath();
    if (LONG error = PrepareHiveFolder(file); error != ERROR_SUCCESS) return error;
    Hive hive;
    {
        HiveLock lock(file);
        if (LONG error = ReadHiveFile(file, &hive); error != ERROR_SUCCESS) return error;
    }
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
    const DWORD size = static_cast<DWORD>(value->data.size());
    if (!dataSize) return ERROR_SUCCESS;
    if (!data) {
        *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (size) std::memcpy(data, value->data.data(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
    if (!IsLive(key)) return ERROR_INVALID_HANDLE;
    if (dataSize && !data) return ERROR_INVALID_PARAMETER;
    HiveValue value{name ? name : L"", type, {}};
    if (dataSize) value.data.assign(data, data + dataSize);
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
    if (LONG error = PrepareHiveFolder(file); error != ERROR_SUCCESS) return error;
    HiveLock lock(file);
    Hive hive;
    if (LONG error = ReadHiveFile(file, &hive); error != ERROR_SUCCESS) return error;
    HiveKey& stored = hive.Add(owned->path, owned->keyClass);
    for (const HiveValue& change : owned->changes) stored.Set(change);
    return WriteHiveFile(file, hive);
}
