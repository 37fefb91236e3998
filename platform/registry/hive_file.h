// Reading and writing the hive file safely: under an advisory lock on a lock file beside it,
// written whole to a temporary file, flushed and renamed over, so that the file is always either
// as it was or as it became. A file that cannot be parsed is never overwritten or deleted: it is
// moved aside under a dated name, with one line on standard error, and reads as empty.
#pragma once

#include <string>

#include "platform/registry/hive.h"
#include "platform/win_types.h"

// Holds the exclusive lock of the hive at `path` while it lives.
class HiveLock {
  public:
    explicit HiveLock(const std::string& path);
    ~HiveLock();
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

  private:
    int fd_ = -1;
};

// Reads the hive (a missing file is an empty hive). Call with the lock held.
LONG ReadHiveFile(const std::string& path, Hive* hive);

// Replaces the file with `hive`. Call with the lock held.
LONG WriteHiveFile(const std::string& path, const Hive& hive);

// Creates the hive's folder (and its missing parents) as 0700; ERROR_ACCESS_DENIED when it
// cannot be created or written.
LONG PrepareHiveFolder(const std::string& path);
