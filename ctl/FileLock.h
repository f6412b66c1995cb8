#pragma once

#include <string>
#include <system_error>

namespace tarnel::ctl {

// A lock that one process at a time holds on a file of its own, for as long
// as the object lives or the process runs: flock on Linux, a handle opened
// without sharing on Windows. The lock file stays; only the lock goes.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock on `path` (UTF-8), creating the file; `busy` tells
    // whether another process holds it (then an error is returned too).
    std::error_code Take(const std::string& path, bool& busy);

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

// Replaces `path` with `text` so that a crash leaves either the old file or
// the new one, never a mix: a temporary file beside it, synced, then renamed
// over it.
std::error_code ReplaceFileAtomically(const std::string& path, const std::string& text);

}  // namespace tarnel::ctl
