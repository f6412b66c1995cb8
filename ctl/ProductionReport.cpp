#include "ctl/ProductionReport.h"

namespace tarnel::ctl {

std::error_code ProductionReport::Open(const std::string& path, std::string& note) {
    m_path = path;
    m_csv = path.size() >= 4 && path.compare(path.size() - 4, 4, ".csv") == 0;
    bool cut = false;
    if (const std::error_code error = m_file.Open(path, cut)) return error;
    m_needsHeader = m_csv && m_file.SizeAtOpen() == 0;
    if (cut)
        note = "The report " + path +
               " ended in a line cut short (a crash while it was written); that line was removed.";
    return {};
}

// Header and record in one write: a crash between them cannot leave a header alone.
std::error_code ProductionReport::Append(const Record& record) {
    std::string text = m_csv ? record.Csv() : record.Json();
    if (m_needsHeader) text = record.CsvHeader() + text;
    const std::error_code error = m_file.Append(text);
    if (!error) m_needsHeader = false;
    return error;
}

}  // namespace tarnel::ctl
