#include "config/JobResult.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "config/JobCodes.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;

class ResultRecorder : public ui::Window {
public:
    ResultRecorder() { MapMessage(WM_JOB_RESULT, &ResultRecorder::OnJobResult); }
    std::vector<JobResult> got;

private:
    ui::LRESULT OnJobResult(ui::WPARAM wParam, ui::LPARAM lParam) {
        got.push_back(ReceiveJobResult(wParam, lParam));
        return 0;
    }
};

// Every result the page tells apart arrives as it was posted, with its job
// and the opening in full; Closed, which has no code of its own, as Failed.
TEST(JobResult, EachResultArrivesAsPostedWithItsJobAndOpening) {
    struct Case {
        JobResult posted;
        ModuleResult received;
    };
    const std::vector<Case> cases = {
        {{JOB_CHECK_DEVICE, 1, ModuleResult::Ok}, ModuleResult::Ok},
        {{JOB_CHECK_DEVICE, 2, ModuleResult::NoModel}, ModuleResult::NoModel},
        {{JOB_READ_SETTINGS, 3, ModuleResult::Failed}, ModuleResult::Failed},
        {{JOB_NEXT_RESULT, 0xFFFF, ModuleResult::NoReport}, ModuleResult::NoReport},
        {{JOB_NEXT_RESULT, 0x8000, ModuleResult::SearchEnded}, ModuleResult::SearchEnded},
        {{JOB_APPLY, 4, ModuleResult::NameFailed}, ModuleResult::NameFailed},
        {{JOB_APPLY, 5, ModuleResult::UartFailed}, ModuleResult::UartFailed},
        {{JOB_APPLY, 6, ModuleResult::TargetFailed}, ModuleResult::TargetFailed},
        {{JOB_APPLY, 7, ModuleResult::OpModeFailed}, ModuleResult::OpModeFailed},
        {{JOB_APPLY, 8, ModuleResult::ResponseFailed}, ModuleResult::ResponseFailed},
        {{JOB_STOP_SEARCH, 0, ModuleResult::Closed}, ModuleResult::Failed},
    };
    ResultRecorder page;
    ASSERT_TRUE(page.CreateBlank());
    for (const Case& c : cases)
        PostJobResult(page, c.posted);
    ASSERT_TRUE(tarnel::test::WaitUntil([&] { return page.got.size() == cases.size(); }, 10s,
                                        [] { ui::test::ProcessEvents(); }));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(page.got[i].job, cases[i].posted.job) << i;
        EXPECT_EQ(page.got[i].opening, cases[i].posted.opening) << i;
        EXPECT_EQ(page.got[i].result, cases[i].received) << i;
    }
    EXPECT_EQ(ReceiveJobResult(ui::MAKEWPARAM(JOB_APPLY, 1), 99).result, ModuleResult::Failed)
        << "an unknown code is a failure";
}

}  // namespace
