// Reading and writing the hive file safely. Only a regular file is ever read, replaced or moved:
// a device, FIFO, socket or folder at the store's path is left alone. A symbolic link to a
// regular file is followed (unless another user planted it in a shared sticky folder), and the
// file it points to is replaced while the link stays. Saves happen under an advisory lock on a
// lock file beside the file; the new text goes to a temporary file with an unpredictable name,
// created exclusively, flushed and renamed over, keeping the old file's owner, group and mode, so
// that the file is always either as it was or as it became.
#pragma once

#include <string>

#include "platform/registry/hive.h"
#include "platform/win_types.h"

// What the store's path names.
struct HiveTarget {
    enum Kind {
        Missing,   // nothing yet: a save creates `path`
        Regular,   // a regular file at `path`
        Unusable,  // not a regular file (or a link that is not followed): `why` says what
    } kind = Missing;
    std::string path;  // the file read and replaced: the link's target for a followed link
    std::string why;
};
HiveTarget FindHiveTarget(const std::string& storePath);

// The exclusive lock of the hive file at `path` (a regular or missing file's path), taken for the
// life of this object. A lock held elsewhere is waited for at most a few seconds.
class HiveLock {
  public:
    explicit HiveLock(const std::string& path);
    ~HiveLock();
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;
    enum State {
        Held,     // this process holds it
        Busy,     // another process held it all the while
        Refused,  // the lock file is not a regular file of its own (a planted link, a folder)
        NoFile,   // the lock file cannot be made (a read-only folder): nothing to lock with
    };
    State Result() const { return state_; }

  private:
    int fd_ = -1;
    State state_ = NoFile;
};

// The lock of this hive, held until the process ends: one running copy per store. InUse when
// another process holds it; Unlocked when it cannot be taken for another reason (the store is no
// regular file, or its folder cannot be made or written).
enum class HiveClaim { Held, InUse, Unlocked };
HiveClaim ClaimHiveForLife(const std::string& storePath);
// A name unique to the hive's lock file (its device and inode), the same for every path that
// leads to it: the name of the channel by which a second copy reaches the first. Empty when there
// is no lock file.
std::string HiveIdentity(const std::string& storePath);

// Reads the hive at `path` (a missing file is an empty hive). `skippedLines` counts the lines that
// could not be read. A file that cannot be read at all is moved aside under a dated name, with one
// line on standard error, and reads as empty; ERROR_ACCESS_DENIED when it could not be moved.
// ERROR_INVALID_PARAMETER when what is there is no regular file. Call with the lock held when
// `mayMove`.
LONG ReadHiveFile(const std::string& path, Hive* hive, int* skippedLines = nullptr,
                  bool mayMove = true);

// Keeps the file as it is now under a dated name beside it (before a save drops lines that could
// not be read); one line on standard error. False when no copy could be kept.
bool KeepHiveCopy(const std::string& path);

// Replaces the file with `hive`. Call with the lock held.
LONG WriteHiveFile(const std::string& path, const Hive& hive);

// Creates the hive's folder (and its missing parents) as 0700; ERROR_ACCESS_DENIED when it
// cannot be created or written.
LONG PrepareHiveFolder(const std::string& path);
