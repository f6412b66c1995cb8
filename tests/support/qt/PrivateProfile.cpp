#include "tests/support/PrivateProfile.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>

#include "platform/Profile.h"

namespace tarnel::test {
namespace {

// The store in use, so that a nested profile hands back the outer one.
std::string g_current;

}  // namespace

struct PrivateProfile::Impl {
    QTemporaryDir dir;
    std::string outer = g_current;
};

PrivateProfile::PrivateProfile() : m_impl(std::make_unique<Impl>()) {
    g_current = m_impl->dir.path().toStdString();
    ui::SetProfileDirectory(g_current);
}

PrivateProfile::~PrivateProfile() {
    g_current = m_impl->outer;
    ui::SetProfileDirectory(g_current);
}

bool PrivateProfile::IsEmpty() const {
    QDirIterator it(m_impl->dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (QFileInfo(it.next()).size() > 0) return false;
    }
    return true;
}

}  // namespace tarnel::test
