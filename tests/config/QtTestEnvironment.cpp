// One QApplication for every test of this executable, in English, on the
// offscreen platform unless the caller chose another.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "app/platform/Language.h"

namespace {

class QtTestEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        ui::SetUiLanguage(ui::Language::English);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "config_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new QtTestEnvironment);

}  // namespace
