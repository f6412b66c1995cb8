#include "platform/MessageMap.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Window.h"

namespace {

TEST(MessageMap, CommandsReachTheirRangeByWordIdAndCodeOthersByMessageReflectsOnlyTheirCode) {
    ui::MessageMap map;
    std::vector<ui::UINT> hits;
    map.AddCommand(-1, -1, ui::BN_CLICKED, [&](ui::UINT id) { hits.push_back(id); });
    map.AddCommand(57664, 57664, ui::BN_CLICKED, [&](ui::UINT id) { hits.push_back(id); });
    map.AddCommand(1081, 1082, ui::BN_CLICKED, [&](ui::UINT id) { hits.push_back(id); });
    map.AddMessage(ui::WM_APP + 5,
                   [](ui::WPARAM w, ui::LPARAM l) { return static_cast<ui::LRESULT>(w + l); });
    int reflected = 0;
    map.AddReflect(ui::EN_MAXTEXT, [&] { ++reflected; });

    struct Case {
        ui::UINT message;
        ui::WPARAM wParam;
        bool handled;
        ui::UINT id;  // the id the command handler got
    };
    const Case cases[] = {
        {ui::WM_COMMAND, ui::MAKEWPARAM(0xFFFF, ui::BN_CLICKED), true, static_cast<ui::UINT>(-1)},
        {ui::WM_COMMAND, ui::MAKEWPARAM(57664, ui::BN_CLICKED), true, 57664},
        {ui::WM_COMMAND, ui::MAKEWPARAM(1082, ui::BN_CLICKED), true, 1082},
        {ui::WM_COMMAND, ui::MAKEWPARAM(1083, ui::BN_CLICKED), false, 0},
        {ui::WM_COMMAND, ui::MAKEWPARAM(1081, ui::CBN_DROPDOWN), false, 0},
        {ui::WM_APP + 6, 0, false, 0},
    };
    for (const Case& c : cases) {
        hits.clear();
        ui::LRESULT result = -7;
        EXPECT_EQ(map.Dispatch(c.message, c.wParam, 0, result), c.handled) << c.message << " " << c.wParam;
        if (c.handled) {
            EXPECT_EQ(hits, std::vector<ui::UINT>{c.id});
            EXPECT_EQ(result, 0);
        } else {
            EXPECT_TRUE(hits.empty());
        }
    }
    ui::LRESULT result = 0;
    EXPECT_TRUE(map.Dispatch(ui::WM_APP + 5, 3, 4, result));
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(map.Reflect(ui::EN_MAXTEXT));
    EXPECT_FALSE(map.Reflect(ui::CBN_EDITUPDATE));
    EXPECT_EQ(reflected, 1);
}

}  // namespace
