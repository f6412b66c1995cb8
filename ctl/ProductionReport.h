#pragma once

#include <string>
#include <system_error>

#include "ctl/DurableFile.h"
#include "ctl/Record.h"

namespace tarnel::ctl {

// --report: one record per module, appended as the module is done and on the
// disk before the line goes on: JSON Lines, or CSV (with a header line when
// the file is new) when the file's name ends in .csv.
class ProductionReport {
public:
    // Opens `path`; a line that a crash cut short is cut off, and `note`
    // then says so.
    std::error_code Open(const std::string& path, std::string& note);
    std::error_code Append(const Record& record);
    const std::string& Path() const { return m_path; }

private:
    DurableFile m_file;
    std::string m_path;
    bool m_csv = false;
    bool m_needsHeader = false;
};

}  // namespace tarnel::ctl
