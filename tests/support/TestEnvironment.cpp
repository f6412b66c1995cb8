// The toolkit running for every test of a window test executable, in English,
// with a settings store of its own so that no test reads or writes the
// user's profile.

#include <gtest/gtest.h>

#include <memory>

#include "platform/Application.h"
#include "platform/Language.h"
#include "tests/support/PrivateProfile.h"

namespace {

class TestEnvironment : public testing::Environment {
public:
    void SetUp() override {
        m_app = std::make_unique<ui::Application>(m_argc, m_argv);
        ui::SetUiLanguage(ui::Language::English);
        m_profile = std::make_unique<tarnel::test::PrivateProfile>();
    }
    void TearDown() override {
        m_profile.reset();
        m_app.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "tarnel_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<ui::Application> m_app;
    std::unique_ptr<tarnel::test::PrivateProfile> m_profile;
};

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new TestEnvironment);

}  // namespace
