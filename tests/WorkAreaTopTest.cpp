#include <gtest/gtest.h>

#include "platform/x11/WorkAreaTop.h"

namespace vorelt {
namespace {

constexpr WorkAreaTop::Monitor kScreen{0, 1279, 0, 799};
constexpr unsigned long kManager = 0x200001;
constexpr int kBar = 22;

// The top for a panel's strip of `panel` pixels (0 for none) and the manager's work area top,
// after which the bar reserves its strip below that top, as it does.
int placeBar(WorkAreaTop& top, int panel, int workArea) {
    WorkAreaTop::Desktop desktop{kManager, workArea, {}};
    if (panel > 0) {
        desktop.struts.push_back({panel, 0, 1279});
    }
    const int placed = top.topOf(kScreen, desktop);
    top.reserved(placed + kBar);
    return placed;
}

TEST(WorkAreaTop, FollowsAPanelThatMovesAndLeavesItsOwnStripOut) {
    WorkAreaTop top;
    EXPECT_EQ(placeBar(top, 29, 29), 29);
    // The work area now ends at the bar's own strip: that says nothing new.
    EXPECT_EQ(placeBar(top, 29, 29 + kBar), 29);
    // The panel went to the bottom; the work area holds the bar's strip, then its new one.
    EXPECT_EQ(placeBar(top, 0, 29 + kBar), 0);
    EXPECT_EQ(placeBar(top, 0, kBar), 0);
    // Back at the top: the bar goes below it, whether the work area has caught up or not.
    EXPECT_EQ(placeBar(top, 29, kBar), 29);
    EXPECT_EQ(placeBar(top, 29, 29 + kBar), 29);
}

TEST(WorkAreaTop, KeepsTheManagersOwnStripUntilAnotherManagerComes) {
    WorkAreaTop top;
    // A shell's top bar is no window: only the work area shows it.
    EXPECT_EQ(placeBar(top, 0, 32), 32);
    EXPECT_EQ(placeBar(top, 0, 32 + kBar), 32);
    EXPECT_EQ(top.topOf(kScreen, {kManager + 1, 32 + kBar, {}}), 0);
}

TEST(WorkAreaTop, TrustsNoWorkAreaWithoutAManagerOrFromOneBehindButStillTheStrips) {
    WorkAreaTop top;
    // The work area still holds the strip of a clock that ended: it is nobody's own.
    EXPECT_EQ(top.topOf(kScreen, {kManager, 29 + kBar, {{29, 0, 1279}}, true}), 29);
    top.reserved(29 + kBar);
    EXPECT_EQ(placeBar(top, 29, 29 + kBar), 29);
    EXPECT_EQ(top.topOf(kScreen, {0, 32, {}}), 0);
    EXPECT_EQ(top.topOf(kScreen, {0, 32, {{29, 0, 1279}}}), 29);
}

TEST(WorkAreaTop, CountsOnlyStripsOverTheMonitor) {
    WorkAreaTop top;
    const WorkAreaTop::Monitor right{1280, 2559, 0, 799};
    // A panel over the left monitor explains the work area: nothing is the manager's own.
    EXPECT_EQ(top.topOf(right, {kManager, 29, {{29, 0, 1279}}}), 0);
    EXPECT_EQ(top.topOf(right, {kManager, 29, {{29, 0, 1279}, {24, 1280, 2559}}}), 24);
}

}  // namespace
}  // namespace vorelt
