// Where velmok's main window opens and what it saves at close.
#include "velmok/session/window_placement.h"

#include "base/fileio.h"
#include "base/window_fit.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::TempDir;

namespace {
const Rect FullHd100{0, 0, 1920, 1080};
const Rect FullHd150{0, 0, 1280, 720}; // the same screen at 150 %, in logical pixels
} // namespace

TEST(WindowPlacement, ASizeOnlyTheWorkAreaCutIsNotSavedSoTheNextStartOpensAsLeft)
{
    TempDir dir;
    const auto ini = dir.path / "velmok.ini";

    // First start at 150 %: no INI, the design size, cut to the work area.
    const Rect saved = readWindowPlacement(ini, FullHd150);
    EXPECT_EQ(saved, (Rect{0, 0, DesignWindowSize.width, DesignWindowSize.height}));
    const WindowFit opened150 = fitWindow({saved.width, saved.height}, FullHd150, {}, saved);
    EXPECT_EQ(opened150.client.height, FullHd150.height);
    writeWindowPlacement(ini, placementToSave(saved, opened150.client, opened150.client));

    // Next start at 100 %: the design size again, not the cut one.
    const Rect again = readWindowPlacement(ini, FullHd100);
    EXPECT_EQ(again.width, DesignWindowSize.width);
    EXPECT_EQ(again.height, DesignWindowSize.height);
    const WindowFit opened100 = fitWindow({again.width, again.height}, FullHd100, {}, again);
    EXPECT_FALSE(opened100.scroll);
    EXPECT_EQ(opened100.client.height, DesignWindowSize.height);
    // And back at 150 % it opens at the same logical size as the first time.
    EXPECT_EQ(fitWindow({again.width, again.height}, FullHd150, {}, readWindowPlacement(ini, FullHd150)).client,
              opened150.client);
}

TEST(WindowPlacement, AResizedOrMovedWindowSavesWhereThePersonLeftIt)
{
    const Rect saved{0, 0, 1280, 860};
    const Rect opened{0, 0, 1280, 720};
    // Resized: the new size.
    EXPECT_EQ(placementToSave(saved, opened, Rect{10, 20, 1000, 700}), (Rect{10, 20, 1000, 700}));
    // Only moved: the new position with the saved size.
    EXPECT_EQ(placementToSave(saved, opened, Rect{30, 40, 1280, 720}), (Rect{30, 40, 1280, 860}));
    // Nothing saved before (an empty rectangle): what the window has.
    EXPECT_EQ(placementToSave(Rect{}, Rect{}, Rect{5, 5, 0, 0}), (Rect{5, 5, 0, 0}));
}

TEST(WindowPlacement, APositionOffTheWorkAreaIsPulledBackAndOtherKeysStay)
{
    TempDir dir;
    const auto ini = dir.path / "velmok.ini";
    writeFileAtomically(ini, "[other]\nKey=1\n[velmot_k]\nTop=-40\nLeft=5000\nWidth=900\nHeight=600\n");
    EXPECT_EQ(readWindowPlacement(ini, FullHd100), (Rect{0, 0, 900, 600}));
    writeWindowPlacement(ini, Rect{12, 34, 800, 500});
    EXPECT_EQ(readWindowPlacement(ini, FullHd100), (Rect{12, 34, 800, 500}));
    EXPECT_NE(readWholeFile(ini).find("Key=1"), std::string::npos);
}
