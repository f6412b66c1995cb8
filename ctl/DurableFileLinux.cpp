#include "ctl/DurableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tarnel::ctl {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

}  // namespace

DurableFile::~DurableFile() {
    if (m_fd >= 0) close(m_fd);
}

std::error_code DurableFile::Open(const std::string& path, bool& cut) {
    m_fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return LastError();
    return CutTornLine(cut);
}

std::error_code DurableFile::CutTornLine(bool& cut) {
    cut = false;
    struct stat info {};
    if (fstat(m_fd, &info) != 0) return LastError();
    off_t end = info.st_size;
    char last = '\n';
    while (end > 0 && pread(m_fd, &last, 1, end - 1) == 1 && last != '\n')
        --end;
    m_sizeAtOpen = static_cast<unsigned long long>(end);
    if (end == info.st_size) return {};
    cut = true;
    if (ftruncate(m_fd, end) != 0 || fsync(m_fd) != 0) return LastError();
    return {};
}

std::error_code DurableFile::Append(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(m_fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0)
            return written < 0 ? LastError() : std::make_error_code(std::errc::no_space_on_device);
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return fsync(m_fd) == 0 ? std::error_code() : LastError();
}

}  // namespace tarnel::ctl
