#include "platform/registry/hive_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int kLockWaitMs = 3000, kLockPollMs = 50;

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

LONG ErrorFromErrno(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
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

const char* KindName(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    return "not a regular file";
}

// The kernel's rule for links in shared folders, kept whatever the system's setting: a link in a
// sticky folder that others may write is followed only when it is the follower's or the folder
// owner's.
bool TrustedLink(const std::string& link, const struct stat& linkStat) {
    struct stat folder;
    if (stat(FolderOf(link).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || linkStat.st_uid == geteuid() || linkStat.st_uid == folder.st_uid;
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

std::string DatedName(const std::string& path) {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string aside = path + ".damaged-" + stamp;
    struct stat st;
    for (int n = 2; lstat(aside.c_str(), &st) == 0; ++n)
        aside = path + ".damaged-" + stamp + "-" + std::to_string(n);
    return aside;
}

// Keeps a damaged file under a dated name beside it; false when it could not be moved.
bool MoveAside(const std::string& path) {
    const std::string aside = DatedName(path);
#ifndef __EMSCRIPTEN__
    bool moved = renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0;
    // A file system without that rename: a second name, then the first one removed.
    if (!moved && (errno == EINVAL || errno == ENOSYS) && link(path.c_str(), aside.c_str()) == 0)
        moved = unlink(path.c_str()) == 0;
#else
    // A web page's file system has neither the no-replace rename nor second names. There the page
    // holds its browser's lock, so nothing else writes the folder and the name just found free
    // stays free: a plain rename replaces nothing.
    bool moved = rename(path.c_str(), aside.c_str()) == 0;
#endif
    if (!moved) {
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

// A name no other process can guess, created only if nothing is there, never through a link.
int CreateTemporary(const std::string& path, std::string* temp) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        unsigned char random[8];
        if (getentropy(random, sizeof random) != 0) return -1;
        char suffix[17];
        for (int i = 0; i < 8; ++i) std::snprintf(suffix + 2 * i, 3, "%02x", random[i]);
        *temp = path + ".tmp-" + suffix;
        int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// A copy killed while saving leaves its temporary file behind. Whoever holds the lock is the only
// writer, so a temporary file of this hive that is this user's own regular file belongs to a copy
// that died.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string prefix = BaseName(path) + ".tmp-";
    DIR* dir = opendir(FolderOf(path).c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0) continue;
        struct stat st;
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == geteuid())
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

// The claim of the store for the process's life: the lock file stays open and locked.
int claimFd = -1;
std::string claimPath;

int OpenLockFile(const std::string& path, HiveLock::State* failure) {
    int fd = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                  0600);
    if (fd < 0) {
        // Something there that cannot be opened (a planted link, another user's file) is refused;
        // nothing there and no way to make it (a read-only folder) leaves nothing to lock with.
        struct stat st;
        *failure = errno == ELOOP || lstat((path + ".lock").c_str(), &st) == 0 ? HiveLock::Refused
                                                                               : HiveLock::NoFile;
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        *failure = HiveLock::Refused;
        return -1;
    }
    return fd;
}

}  // namespace

HiveTarget FindHiveTarget(const std::string& storePath) {
    HiveTarget target;
    std::string path = storePath;
    for (int hops = 0; hops < 16; ++hops) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0) {
            target.path =
                path;  // nothing there, or no way there: a save fails if it cannot make it
            return target;
        }
        if (S_ISREG(st.st_mode)) {
            target.kind = HiveTarget::Regular;
            target.path = path;
            return target;
        }
        if (!S_ISLNK(st.st_mode)) {
            target.kind = HiveTarget::Unusable;
            target.path = path;
            target.why = KindName(st.st_mode);
            return target;
        }
        if (!TrustedLink(path, st)) {
            target.kind = HiveTarget::Unusable;
            target.path = path;
            target.why = "a link another user made in a shared folder";
            return target;
        }
        std::vector<char> buffer(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0 || static_cast<size_t>(n) >= buffer.size()) break;
        std::string next(buffer.data(), static_cast<size_t>(n));
        path = next[0] == '/' ? next : FolderOf(path) + "/" + next;
    }
    target.kind = HiveTarget::Unusable;
    target.path = storePath;
    target.why = "a link that leads nowhere usable";
    return target;
}

HiveLock::HiveLock(const std::string& path) {
    if (claimFd >= 0 && path == claimPath) {
        state_ = Held;  // this process holds it for its life
        return;
    }
    fd_ = OpenLockFile(path, &state_);
    if (fd_ < 0) return;
    for (int waited = 0;; waited += kLockPollMs) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            state_ = Held;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (waited >= kLockWaitMs) break;
        usleep(kLockPollMs * 1000);
    }
    state_ = Busy;
    close(fd_);
    fd_ = -1;
}

HiveLock::~HiveLock() {
    if (fd_ >= 0) close(fd_);
}

HiveClaim ClaimHiveForLife(const std::string& storePath) {
    const HiveTarget target = FindHiveTarget(storePath);
    if (target.kind == HiveTarget::Unusable) return HiveClaim::Unlocked;
    if (PrepareHiveFolder(target.path) != ERROR_SUCCESS) return HiveClaim::Unlocked;
    HiveLock::State failure;
    int fd = OpenLockFile(target.path, &failure);
    if (fd < 0) return HiveClaim::Unlocked;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        close(fd);
        return errno == EWOULDBLOCK ? HiveClaim::InUse : HiveClaim::Unlocked;
    }
    if (claimFd >= 0) close(claimFd);
    claimFd = fd;
    claimPath = target.path;
    return HiveClaim::Held;
}

std::string HiveIdentity(const std::string& storePath) {
    const HiveTarget target = FindHiveTarget(storePath);
    if (target.kind == HiveTarget::Unusable) return "";
    struct stat st;
    if (lstat((target.path + ".lock").c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
    return std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino);
}

LONG ReadHiveFile(const std::string& path, Hive* hive, int* skippedLines, bool mayMove) {
    hive->keys.clear();
    if (skippedLines) *skippedLines = 0;
    // Never blocks on a FIFO, never follows a link swapped in since the path was looked at.
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return ERROR_SUCCESS;
        return errno == ELOOP ? ERROR_INVALID_PARAMETER : ERROR_ACCESS_DENIED;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return ERROR_INVALID_PARAMETER;
    }
    std::string text;
    text.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
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
    if (ParseHive(text, hive, skippedLines)) return ERROR_SUCCESS;
    hive->keys.clear();
    if (!mayMove) return ERROR_SUCCESS;
    // A damaged file that stays in place must not be overwritten by the next save.
    return MoveAside(path) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

bool KeepHiveCopy(const std::string& path) {
    const std::string aside = DatedName(path);
    // A second name for the same file: the save's rename then leaves it as it was. Where the file
    // system has no second names, a copy.
    bool kept = link(path.c_str(), aside.c_str()) == 0;
    if (!kept) {
        int in = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        int out = open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (in >= 0 && out >= 0) {
            std::string text;
            char buf[65536];
            ssize_t n;
            while ((n = read(in, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
            kept = n == 0 && WriteAll(out, text) && fsync(out) == 0;
        }
        if (in >= 0) close(in);
        if (out >= 0 && close(out) != 0) kept = false;
        if (!kept && out >= 0) unlink(aside.c_str());
    }
    if (!kept) return false;
    std::fprintf(stderr,
                 "velquin: the settings file %s has lines that cannot be read; the file as it "
                 "was is kept as %s\n",
                 path.c_str(), aside.c_str());
    return true;
}

LONG WriteHiveFile(const std::string& path, const Hive& hive) {
    RemoveStaleTemporaries(path);
    // A save over an existing file keeps its owner, group and mode (a save made as root must not
    // take the player's file over).
    struct stat old;
    const bool existed = lstat(path.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return ERROR_INVALID_PARAMETER;
    std::string temp;
    int fd = CreateTemporary(path, &temp);
    if (fd < 0) return ErrorFromErrno(errno);
    bool ok = true;
    int error = 0;
    if (existed) {
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
            fchown(fd, old.st_uid, old.st_gid) != 0 && geteuid() == 0) {
            ok = false;
            error = errno;
        }
        if (ok && fchmod(fd, old.st_mode & 07777) != 0) {
            ok = false;
            error = errno;
        }
    }
    if (ok) {
        ok = WriteAll(fd, FormatHive(hive)) && fsync(fd) == 0;
        if (!ok) error = errno;
    }
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
    const std::string folder = FolderOf(path);
    if (folder.size() >= PATH_MAX) return ERROR_ACCESS_DENIED;
    // The missing folders, found from the deepest up and made from the top down, in a loop: a
    // path of any depth takes no stack.
    std::vector<std::string> missing;
    std::string at = folder;
    struct stat st;
    while (stat(at.c_str(), &st) != 0) {
        if (errno != ENOENT) return ERROR_ACCESS_DENIED;
        missing.push_back(at);
        std::string up = FolderOf(at);
        if (up == at) break;
        at = up;
    }
    if (missing.empty() && !S_ISDIR(st.st_mode)) return ERROR_ACCESS_DENIED;
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        if (mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) return ERROR_ACCESS_DENIED;
    if (access(folder.c_str(), W_OK | X_OK) != 0) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}
