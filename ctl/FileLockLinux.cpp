#include "ctl/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tarnel::ctl {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

}  // namespace

FileLock::~FileLock() {
    if (m_fd >= 0) close(m_fd);
}

std::error_code FileLock::Take(const std::string& path, bool& busy) {
    busy = false;
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return LastError();
    if (flock(m_fd, LOCK_EX | LOCK_NB) == 0) return {};
    busy = errno == EWOULDBLOCK;
    const std::error_code error = LastError();
    close(m_fd);
    m_fd = -1;
    return error;
}

std::error_code ReplaceFileAtomically(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return LastError();
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = write(fd, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    const bool synced = rest.empty() && fsync(fd) == 0;
    const std::error_code error = synced ? std::error_code() : LastError();
    close(fd);
    if (!synced) return error ? error : std::make_error_code(std::errc::no_space_on_device);
    if (rename(temporary.c_str(), path.c_str()) != 0) return LastError();
    // The rename itself is on the disk once the folder is.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return LastError();
    const bool dirSynced = fsync(dir) == 0;
    close(dir);
    return dirSynced ? std::error_code() : LastError();
}

}  // namespace tarnel::ctl
