// One QApplication for every test of a window test executable, in English, on
// the offscreen platform unless the caller chose another, with a settings
// store of its own so that no test reads or writes the user's profile.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "platform/Language.h"
#include "platform/Profile.h"

namespace {

class QtTestEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        ui::SetUiLanguage(ui::Language::English);
        m_profile = std::make_unique<QTemporaryDir>();
        ui::SetProfileDirectory(m_profile->path().toStdString());
    }
    void TearDown() override {
        ui::SetProfileDirectory({});
        m_profile.reset();
        m_app.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "tarnel_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<QTemporaryDir> m_profile;
};

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new QtTestEnvironment);

}  // namespace
