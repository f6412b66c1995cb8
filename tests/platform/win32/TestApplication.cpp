#include <gtest/gtest.h>

#include "platform/Application.h"

namespace {

// The program's start of the windowing layer (control classes, the window
// thread), once for every test of the executable.
class ApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "platform_win32_tests";
        static char* argv[] = {name, nullptr};
        static ui::Application app(argc, argv);
    }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
