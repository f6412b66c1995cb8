#pragma once

// A settings store of the test's own for the life of the object, empty at
// first, so that no test reads or writes the user's profile or another
// test's.

#include <memory>

namespace tarnel::test {

class PrivateProfile {
public:
    PrivateProfile();
    ~PrivateProfile();
    PrivateProfile(const PrivateProfile&) = delete;
    PrivateProfile& operator=(const PrivateProfile&) = delete;

    // Whether nothing at all was written to it.
    bool IsEmpty() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tarnel::test
