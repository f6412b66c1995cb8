#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace tarnel::ctl {

// A file that text is only ever appended to, each piece on the disk before
// Append returns (written in one call and synced), so that a crash or a power
// cut loses at most the piece being written. Each platform has its own
// source: the descriptor and fsync on Linux, the handle and FlushFileBuffers
// on Windows.
class DurableFile {
public:
    DurableFile() = default;
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    // Opens `path` (UTF-8) for appending, creating it when missing. What a
    // crash left after the last line end (a line cut short) is cut off, so
    // that the file holds whole lines only; `cut` tells whether there was
    // any.
    std::error_code Open(const std::string& path, bool& cut);
    // The size of the file when it was opened, after the cut.
    unsigned long long SizeAtOpen() const { return m_sizeAtOpen; }
    // Appends `text` and syncs it to the disk.
    std::error_code Append(std::string_view text);

private:
    std::error_code CutTornLine(bool& cut);

#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    unsigned long long m_sizeAtOpen = 0;
};

}  // namespace tarnel::ctl
