// Window tests run on Qt's offscreen platform unless the caller chose
// another; set before the tests' environment starts Qt.

#include <QByteArray>
#include <QtGlobal>

namespace {

[[maybe_unused]] const bool kOffscreen =
    qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qputenv("QT_QPA_PLATFORM", "offscreen");

}  // namespace
