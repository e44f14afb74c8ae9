#include "base/window_fit.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {
// Logical work areas of the screens the programs meet.
const Rect Laptop{0, 0, 1366, 768};           // 1366×768 at 100 %
const Rect FullHd150{0, 0, 1280, 720};        // 1920×1080 at 150 %
const Rect Laptop125{0, 0, 1093, 614};        // 1366×768 at 125 %
const Rect Small{0, 0, 1024, 600};            // the smallest the programs serve
const Rect WithPanel{0, 40, 1366, 728};       // a panel across the top
const Size TitleBar{2, 30};
} // namespace

TEST(WindowFit, AWindowThatFitsOpensWholeAndCentred)
{
    const WindowFit f = fitWindow({927, 419}, Laptop);
    EXPECT_FALSE(f.scroll);
    EXPECT_EQ(f.client, (Rect{219, 174, 927, 419}));

    // The frame counts: centred as a whole, the client inside it.
    const WindowFit g = fitWindow({600, 400}, WithPanel, TitleBar);
    EXPECT_EQ(g.client, (Rect{382, 40 + 149, 600, 400}));
}

TEST(WindowFit, EveryWindowUpToTheWholeWindowAreaOpensWholeOnTheCommonScreens)
{
    const Size largest{WholeWindowWorkArea.width - TitleBar.width, WholeWindowWorkArea.height - TitleBar.height};
    for (const Rect &area : {Laptop, FullHd150, Rect{0, 0, 2560 / 2, 1440 / 2}}) {
        const WindowFit f = fitWindow(largest, area, TitleBar);
        EXPECT_FALSE(f.scroll) << area.width << "x" << area.height;
        EXPECT_EQ(f.client.width, largest.width);
        EXPECT_EQ(f.client.height, largest.height);
    }
}

TEST(WindowFit, ATooLargeWindowIsCutToTheWorkAreaAndScrolls)
{
    // The print preview's design size on the smaller screens.
    for (const Rect &area : {FullHd150, Laptop125, Small}) {
        const WindowFit f = fitWindow({1100, 820}, area, TitleBar);
        EXPECT_TRUE(f.scroll);
        EXPECT_LE(f.client.width + TitleBar.width, area.width);
        EXPECT_EQ(f.client.height + TitleBar.height, area.height);
        EXPECT_GE(f.client.left, area.left);
        EXPECT_EQ(f.client.top, area.top);
        EXPECT_LE(f.client.right() + TitleBar.width, area.right());
    }
    // Only the axis that does not fit is cut.
    const WindowFit tall = fitWindow({667, 656}, Small);
    EXPECT_TRUE(tall.scroll);
    EXPECT_EQ(tall.client.width, 667);
    EXPECT_EQ(tall.client.height, 600);
}

TEST(WindowFit, AMinimumRaisesTheSizeButNeverBeyondTheWorkArea)
{
    EXPECT_EQ(fitWindow({100, 100}, Laptop, {}, std::nullopt, {385, 394}).client, (Rect{490, 187, 385, 394}));
    const WindowFit f = fitWindow({100, 100}, Small, {}, std::nullopt, {1200, 700});
    EXPECT_TRUE(f.scroll);
    EXPECT_EQ(f.client, (Rect{0, 0, 1024, 600}));
}

TEST(WindowFit, AGivenPositionIsKeptOrMovedTheLeastIntoTheWorkArea)
{
    EXPECT_EQ(fitWindow({800, 600}, Laptop, {}, Rect{100, 50, 0, 0}).client, (Rect{100, 50, 800, 600}));
    // Off the right and the bottom: moved back just far enough.
    EXPECT_EQ(fitWindow({800, 600}, Laptop, {}, Rect{1000, 500, 0, 0}).client, (Rect{566, 168, 800, 600}));
    // Off the left and above a top panel (the window sat at x = −12).
    EXPECT_EQ(fitWindow({927, 419}, WithPanel, TitleBar, Rect{-12, 0, 0, 0}).client, (Rect{0, 40, 927, 419}));
}

TEST(WindowFit, ClampingKeepsARectangleThatFitsAndCutsOneThatDoesNot)
{
    EXPECT_EQ(clampIntoWorkArea({10, 20, 300, 200}, Laptop), (Rect{10, 20, 300, 200}));
    EXPECT_EQ(clampIntoWorkArea({-50, -50, 2000, 2000}, FullHd150, TitleBar), (Rect{0, 0, 1278, 690}));
    // A degenerate rectangle or work area still gives a window of at least one pixel.
    EXPECT_EQ(clampIntoWorkArea({0, 0, 0, 0}, Laptop), (Rect{0, 0, 1, 1}));
    EXPECT_EQ(clampIntoWorkArea({5, 5, 100, 100}, Rect{0, 0, 10, 10}, {20, 20}).width, 1);
}
