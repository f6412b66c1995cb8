#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <system_error>

#include "ctl/FileLock.h"
#include "protocol/BdAddr.h"

namespace tarnel::ctl {

// provision's state file (--state, or beside the report): the next number
// and the modules already numbered, so that a restarted line goes on without
// giving a name twice and still knows a module that passed. One process at a
// time: a lock file beside it (FILE.lock) keeps a second line from numbering
// too. Written whole after every change, so that a crash leaves the last one.
class LineState {
public:
    struct Module {
        BdAddr address;
        uint64_t number;
        bool passed;
    };

    // Takes the lock and reads `path` when it is there. Returns the empty
    // string, or what is wrong (another line holds it, or it is no state
    // file of ours: then it is left as it is).
    std::string Open(const std::string& path);
    // Whether Open found a state to go on from.
    bool Found() const { return m_found; }
    uint64_t Next() const { return m_next; }
    const std::deque<Module>& Modules() const { return m_modules; }

    std::error_code Save(uint64_t next, const std::deque<Module>& modules) const;
    const std::string& Path() const { return m_path; }

private:
    std::string Parse(const std::string& text);

    FileLock m_lock;
    std::string m_path;
    bool m_found = false;
    uint64_t m_next = 0;
    std::deque<Module> m_modules;
};

}  // namespace tarnel::ctl
