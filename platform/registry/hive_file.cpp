#include "platform/registry/hive_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

LONG ErrorFromErrno(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case EACCES:
        case EPERM:
        case EROFS:
            return ERROR_ACCESS_DENIED;
        case ENOMEM:
            return ERROR_OUTOFMEMORY;
        default:
            return ERROR_WRITE_FAULT;
    }
}

bool MakeFolders(const std::string& folder) {
    struct stat st;
    if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    std::string parent = FolderOf(folder);
    if (parent != folder && !MakeFolders(parent)) return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Keeps a damaged file under a dated name beside it; false when it could not be moved.
bool MoveAside(const std::string& path) {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string aside = path + ".damaged-" + stamp;
    struct stat st;
    for (int n = 2; stat(aside.c_str(), &st) == 0; ++n)
        aside = path + ".damaged-" + stamp + "-" + std::to_string(n);
    if (rename(path.c_str(), aside.c_str()) != 0) {
        std::fprintf(stderr,
                     "velquin: the settings file %s cannot be read and cannot be moved aside; "
                     "it is left as it is and the settings start empty\n",
                     path.c_str());
        return false;
    }
    std::fprintf(stderr,
                 "velquin: the settings file %s cannot be read; it is kept as %s and the "
                 "settings start empty\n",
                 path.c_str(), aside.c_str());
    return true;
}

}  // namespace

HiveLock::HiveLock(const std::string& path) {
    fd_ = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;  // a folder we cannot write: reading goes on unlocked
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

HiveLock::~HiveLock() {
    if (fd_ >= 0) close(fd_);
}

LONG ReadHiveFile(const std::string& path, Hive* hive) {
    hive->keys.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    std::string text;
    char buf[8192];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            return ERROR_ACCESS_DENIED;
        }
        if (n == 0) break;
        text.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    if (ParseHive(text, hive)) return ERROR_SUCCESS;
    hive->keys.clear();
    // A damaged file that stays in place must not be overwritten by the next save.
    return MoveAside(path) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

namespace {

// A copy killed while saving leaves its temporary file behind. Whoever holds the lock is the only
// writer, so any temporary file of this hive found then belongs to a copy that died.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string prefix = path.substr(path.find_last_of('/') + 1) + ".tmp-";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

}  // namespace

LONG WriteHiveFile(const std::string& path, const Hive& hive) {
    RemoveStaleTemporaries(path);
    std::string temp = path + ".tmp-" + std::to_string(getpid());
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return ErrorFromErrno(errno);
    bool ok = WriteAll(fd, FormatHive(hive)) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        return ErrorFromErrno(error);
    }
    int dir = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return ERROR_SUCCESS;
}

LONG PrepareHiveFolder(const std::string& path) {
    std::string folder = FolderOf(path);
    if (!MakeFolders(folder)) return ERROR_ACCESS_DENIED;
    if (access(folder.c_str(), W_OK | X_OK) != 0) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}
