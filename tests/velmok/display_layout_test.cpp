// The display layout file velmo_p.disp, its defaults by screen size and the commands of 表  示.
#include "velmok/core/display_layout.h"

#include "base/errors.h"
#include "tests/common/fake_ui.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace velmo;
using velmo::test::FakeUi;
using velmo::test::TempDir;
namespace fs = std::filesystem;

namespace {

// A design with a distinct value everywhere, so that any value taken from the wrong place shows.
DisplayLayout design()
{
    DisplayLayout d;
    d.treeWidth = 210;
    d.rateGridHeight = 303;
    for (LayoutGrid g : {LayoutGrid::Rate, LayoutGrid::Price, LayoutGrid::Composite}) {
        const auto w = d.widths(g);
        for (size_t c = 0; c < w.size(); ++c)
            w[c] = 10 * (static_cast<int>(g) + 1) + static_cast<int>(c);
    }
    return d;
}

DisplayLayout read(const std::string &text)
{
    DisplayLayout l = design();
    readDisplayLayoutText(text, l);
    return l;
}

struct Folder {
    TempDir dir;
    FakeUi ui;
    void write(const std::string &name, const std::string &text) { writeFileAtomically(dir.path / name, text); }
    LayoutSession load()
    {
        LayoutSession s(ui, homesOf(dir.path), design());
        s.load();
        return s;
    }
};

const char *AllLines =
    "[Version]=2.00\r\n"
    "[TITLE_USE]=TRUE\r\n"
    "[TOP_USE]=FALSE\r\n"
    "[TREE_USE]=TRUE\r\n"
    "[STATUS_USE]=FALSE\r\n"
    "[TREEVIEW_WIDTH]=180\r\n"
    "[StrColGrid1]=250\r\n"
    "[StrColGrid1_Colwidths[0]]=40\r\n"
    "[StrColGrid1_Colwidths[1]]=-7\r\n"
    "[StrColGrid1_Colwidths[2]]=12\r\n"
    "[StrColGrid1_Colwidths[3]]=13\r\n"
    "[StrColGrid1_Colwidths[4]]=14\r\n"
    "[StrColGrid1_Colwidths[5]]=15\r\n"
    "[StrColGrid1_Colwidths[6]]=16\r\n"
    "[StrColGrid1_Colwidths[7]]=17\r\n"
    "[StrColGrid1_Colwidths[8]]=18\r\n"
    "[StrColGrid1_Colwidths[9]]=19\r\n"
    "[StrColGrid1_Colwidths[10]]=110\r\n"
    "[StrColGrid2_Colwidths[0]]=20\r\n"
    "[StrColGrid2_Colwidths[1]]=21\r\n"
    "[StrColGrid2_Colwidths[2]]=22\r\n"
    "[StrColGrid2_Colwidths[3]]=23\r\n"
    "[StrColGrid2_Colwidths[4]]=24\r\n"
    "[StrColGrid2_Colwidths[5]]=25\r\n"
    "[StrColGrid2_Colwidths[6]]=26\r\n"
    "[StrColGrid2_Colwidths[7]]=27\r\n"
    "[StrColGrid3_Colwidths[0]]=30\r\n"
    "[StrColGrid3_Colwidths[1]]=31\r\n"
    "[StrColGrid3_Colwidths[2]]=32\r\n"
    "[StrColGrid3_Colwidths[3]]=33\r\n"
    "[StrColGrid3_Colwidths[4]]=34\r\n"
    "[StrColGrid3_Colwidths[5]]=35\r\n"
    "[StrColGrid3_Colwidths[6]]=36\r\n"
    "[StrColGrid3_Colwidths[7]]=37\r\n";

} // namespace

TEST(DisplayLayoutFile, OnlyTheTitleLineHidesOnlyTheTitleBar)
{
    DisplayLayout expected = design();
    expected.setBarShown(LayoutBar::Title, false);
    EXPECT_EQ(read("[TITLE_USE]=FALSE"), expected);
    EXPECT_EQ(read("[TITLE_USE]=FALSE\r\n"), expected);
}

TEST(DisplayLayoutFile, ValuesThatAreNotIntegersFallBackAndLaterLinesWin)
{
    const DisplayLayout l = read("[StrColGrid1_Colwidths[3]]=abc\r\n"
                                 "[StrColGrid2_Colwidths[5]]=12.5\r\n"
                                 "[StrColGrid3_Colwidths[7]]=\r\n"
                                 "[StrColGrid1_Colwidths[4]]=99999999999\r\n" // beyond 32 bits
                                 "[TREEVIEW_WIDTH]=wide\r\n"
                                 "[StrColGrid1]=tall\r\n"
                                 "[StrColGrid1_Colwidths[1]]= 120 \r\n"
                                 "[StrColGrid1_Colwidths[2]]=+45\r\n"
                                 "[StrColGrid1_Colwidths[5]]=-40\r\n"
                                 "[StrColGrid1_Colwidths[6]]=50000\r\n"
                                 "[StrColGrid1_Colwidths[7]]=1\r\n"
                                 "[StrColGrid1_Colwidths[7]]=77\r\n");
    EXPECT_EQ(l.rateWidths[3], 100);
    EXPECT_EQ(l.priceWidths[5], 100);
    EXPECT_EQ(l.compositeWidths[7], 100);
    EXPECT_EQ(l.rateWidths[4], 100);
    EXPECT_EQ(l.treeWidth, 100);
    EXPECT_EQ(l.rateGridHeight, 296);
    EXPECT_EQ(l.rateWidths[1], 120);
    EXPECT_EQ(l.rateWidths[2], 45);
    EXPECT_EQ(l.rateWidths[5], -40); // kept as it is: the grid shows it as an empty column
    EXPECT_EQ(l.rateWidths[6], LayoutSizeLimit);
    EXPECT_EQ(l.rateWidths[7], 77);
    EXPECT_EQ(l.rateWidths[0], design().rateWidths[0]);
    EXPECT_EQ(l.shown, design().shown);
}

TEST(DisplayLayoutFile, BarLinesCountOnlyWhenExactAndOtherLinesAreIgnored)
{
    const DisplayLayout l = read("[Version]=9.99\n"            // never compared
                                 "[TOP_USE]=false\r\n"         // not the exact line
                                 "[TREE_USE]=FALSE \r\n"       // nor this
                                 "[STATUS_USE]=FALSE\n"        // LF alone ends a line too
                                 "[STATUS_USE]=TRUE=\r\n"      // not a bar line
                                 "StrColGrid1_Colwidths[2]=5\r\n" // no brackets: another key
                                 "[StrColGrid1_Colwidths[11]]=5\r\n" // no such column
                                 "[StrColGrid2_Colwidths[8]]=5\r\n"
                                 "no equals sign at all\r\n"
                                 "=\r\n"
                                 "\xEF\xBF\xBD\x81\r\n"); // bytes that are no text
    DisplayLayout expected = design();
    expected.setBarShown(LayoutBar::Status, false);
    EXPECT_EQ(l, expected);
}

TEST(DisplayLayoutFile, WritesTheThirtyFourLinesInOrderAndReadsThemBack)
{
    Folder f;
    f.write("velmo_p.disp", AllLines);
    LayoutSession s = f.load();
    EXPECT_EQ(s.readFrom(), f.dir.path / "velmo_p.disp");
    EXPECT_FALSE(s.layout().barShown(LayoutBar::Top));
    EXPECT_EQ(s.layout().rateWidths[1], -7);
    EXPECT_EQ(displayLayoutLines(s.layout()).size(), 34u);

    fs::remove(f.dir.path / "velmo_p.disp");
    s.save();
    EXPECT_EQ(readWholeFile(f.dir.path / "velmo_p.disp"), AllLines);

    // What a session writes, the next one reads.
    s.toggleBar(LayoutBar::Title);
    s.treeResized(333);
    s.columnResized(LayoutGrid::Composite, 7, 88);
    s.columnResized(LayoutGrid::Price, 8, 5); // no such column: nothing
    s.columnResized(LayoutGrid::Rate, -1, 5);
    s.columnResized(LayoutGrid::Rate, 2, 1'000'000);
    EXPECT_EQ(s.layout().rateWidths[2], LayoutSizeLimit);
    s.save();
    LayoutSession next = f.load();
    EXPECT_EQ(next.layout(), s.layout());
    EXPECT_FALSE(next.layout().barShown(LayoutBar::Title));
    EXPECT_EQ(next.layout().treeWidth, 333);
    EXPECT_EQ(next.layout().compositeWidths[7], 88);
}

TEST(DisplayLayoutFile, DefaultFileIsChosenByScreenSizeOnlyWhileTheOwnFileIsMissing)
{
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 1024}), "velmo_p_sxga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1024, 768}), "velmo_p_xga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 768}), "velmo_p_uvga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1366, 768}), std::nullopt);
    EXPECT_EQ(defaultLayoutFileName({0, 0, 768, 1024}), std::nullopt);

    Folder f;
    f.write("velmo_p_sxga.dat", "[TREEVIEW_WIDTH]=1\r\n");
    f.write("velmo_p_xga.dat", "[TREEVIEW_WIDTH]=2\r\n");
    f.write("velmo_p_uvga.dat", "[TREEVIEW_WIDTH]=3\r\n");
    f.ui.screenRect = {0, 0, 1024, 768};
    EXPECT_EQ(f.load().layout().treeWidth, 2);
    EXPECT_EQ(f.load().readFrom(), f.dir.path / "velmo_p_xga.dat");
    f.ui.screenRect = {0, 0, 1280, 768};
    EXPECT_EQ(f.load().layout().treeWidth, 3);
    f.ui.screenRect = {0, 0, 1920, 1080};
    EXPECT_EQ(f.load().layout(), design());
    EXPECT_TRUE(f.load().readFrom().empty());

    // Once velmo_p.disp exists, the defaults are never read again, also when it says little.
    f.ui.screenRect = {0, 0, 1280, 1024};
    f.write("velmo_p.disp", "[Version]=2.00\r\n");
    EXPECT_EQ(f.load().layout(), design());

    // Without the default file of the screen the design stays.
    Folder g;
    g.ui.screenRect = {0, 0, 1280, 1024};
    EXPECT_EQ(g.load().layout(), design());
}

TEST(DisplayLayoutFile, WithoutAFileForTheScreenTheWorkAreaChooses)
{
    // The screen's own file comes first, whatever its panels leave.
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 1024}, {0, 0, 1280, 984}), "velmo_p_sxga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1024, 768}, {0, 0, 1024, 728}), "velmo_p_xga.dat");
    // 1366 × 768 at 100 % less a panel at the bottom or at the top, without a panel, and
    // 1920 × 1080 at 150 % (1280 × 720 logical) less a panel: the short wide layout.
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1366, 768}, {0, 0, 1366, 728}), "velmo_p_uvga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1366, 768}, {0, 32, 1366, 736}), "velmo_p_uvga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1366, 768}, {0, 0, 1366, 768}), "velmo_p_uvga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 720}, {0, 0, 1280, 692}), "velmo_p_uvga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1600, 900}, {0, 0, 1600, 860}), "velmo_p_uvga.dat");
    // Narrower than 1280: 1024 × 600, 1366 × 768 at 125 % (1093 × 614), a panel at the side.
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1024, 600}, {0, 0, 1024, 570}), "velmo_p_xga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1093, 614}, {0, 0, 1093, 584}), "velmo_p_xga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 768}, {64, 0, 1216, 768}), "velmo_p_uvga.dat"); // its own file
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1366, 768}, {64, 0, 1302, 768}), "velmo_p_uvga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1340, 768}, {64, 0, 1276, 768}), "velmo_p_xga.dat");
    // A work area that holds the design window keeps the design: 1920 × 1080 at 100 %,
    // 1600 × 1200 beside another screen; 2560 × 1440 at 200 % is 1280 × 720 and short.
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1920, 1080}, {0, 0, 1920, 1040}), std::nullopt);
    EXPECT_EQ(defaultLayoutFileName({1920, 0, 1600, 1200}, {1920, 0, 1600, 1160}), std::nullopt);
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 720}, {0, 0, 1280, 680}), "velmo_p_uvga.dat");
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 720}, {0, 0, 1280, ShortWorkAreaHeight}), std::nullopt);
    EXPECT_EQ(defaultLayoutFileName({0, 0, 1280, 720}, {0, 0, 1280, ShortWorkAreaHeight - 1}), "velmo_p_uvga.dat");

    // The session asks for the work area the window opens in.
    Folder f;
    f.write("velmo_p_uvga.dat", "[TREEVIEW_WIDTH]=3\r\n");
    f.ui.screenRect = {0, 0, 1366, 768};
    f.ui.workAreaRect = {0, 0, 1366, 728};
    EXPECT_EQ(f.load().layout().treeWidth, 3);
    EXPECT_EQ(f.load().readFrom(), f.dir.path / "velmo_p_uvga.dat");
    f.ui.workAreaRect = {0, 0, 1920, 1040};
    EXPECT_TRUE(f.load().readFrom().empty());
    // The narrow file is chosen but not installed: the design stays.
    f.ui.workAreaRect = {0, 0, 1024, 570};
    EXPECT_EQ(f.load().layout(), design());
}

TEST(DisplayLayoutFile, RowsShrinkToTheGridHeightDownToTheLeast)
{
    // 15 rows of 19 pixels and their lines in 303 less 3 pixels of border: the design height.
    EXPECT_EQ(fittedRowHeight(303, 15, 3, 19, 15), 19);
    EXPECT_EQ(fittedRowHeight(900, 15, 3, 19, 15), 19); // higher: rows keep the design height
    EXPECT_EQ(fittedRowHeight(302, 15, 3, 19, 15), 18);
    EXPECT_EQ(fittedRowHeight(273, 15, 3, 19, 15), 17);
    EXPECT_EQ(fittedRowHeight(272, 15, 3, 19, 15), 16);
    EXPECT_EQ(fittedRowHeight(243, 15, 3, 19, 15), 15);
    // Lower than that, or a height that is no height: the least height, and the grid scrolls.
    EXPECT_EQ(fittedRowHeight(100, 15, 3, 19, 15), 15);
    EXPECT_EQ(fittedRowHeight(-9999, 15, 3, 19, 15), 15);
    EXPECT_EQ(fittedRowHeight(0, 0, 3, 19, 15), 19);
}

TEST(DisplayLayoutFile, UnreadableFileKeepsTheDesignAndIsNeverOverwritten)
{
    Folder f;
    fs::create_directories(f.dir.path / "velmo_p.disp"); // a folder where the file belongs
    LayoutSession s(f.ui, homesOf(f.dir.path), design());
    try {
        s.load();
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("velmo_p.disp"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.layout(), design());
    s.toggleBar(LayoutBar::Tree);
    try {
        s.save();
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_NE(std::string(e.what()).find("上書きしません"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(f.dir.path / "velmo_p.disp"));

    // A default file that cannot be read raises too, but velmo_p.disp may then be written.
    Folder g;
    fs::create_directories(g.dir.path / "velmo_p_sxga.dat");
    LayoutSession t(g.ui, homesOf(g.dir.path), design());
    EXPECT_THROW(t.load(), IoError);
    EXPECT_EQ(t.layout(), design());
    t.save();
    EXPECT_EQ(readWholeFile(g.dir.path / "velmo_p.disp").substr(0, 16), "[Version]=2.00\r\n");
}

TEST(DisplayLayoutFile, FailedWriteKeepsThePreviousFile)
{
    Folder f;
    f.write("velmo_p.disp", AllLines);
    LayoutSession s = f.load();
    s.toggleBar(LayoutBar::Title);
    planWriteFault({WriteFault::Stage::Write, 1, ENOSPC});
    EXPECT_THROW(s.save(), IoError);
    clearWriteFault();
    EXPECT_EQ(readWholeFile(f.dir.path / "velmo_p.disp"), AllLines);
}

TEST(DisplayLayoutCommands, UniformWidthAsksAndSetsEveryColumnButTheFirst)
{
    Folder f;
    LayoutSession s(f.ui, homesOf(f.dir.path), design());
    f.ui.texts.push_back(std::string("-12"));
    s.askUniformWidth(LayoutGrid::Rate);
    EXPECT_EQ(f.ui.prompts.back(), "Velmaro|歩掛表のセル幅を入力|");
    EXPECT_EQ(s.layout().rateWidths[0], design().rateWidths[0]);
    for (int c = 1; c < RateCols; ++c)
        EXPECT_EQ(s.layout().rateWidths[c], -12) << c; // a negative width is applied unchanged
    EXPECT_EQ(s.layout().priceWidths, design().priceWidths);

    f.ui.texts.push_back(std::string("８０")); // typed with the input method on
    s.askUniformWidth(LayoutGrid::Price);
    EXPECT_EQ(f.ui.prompts.back(), "Velmaro|提出単価表のセル幅を入力|");
    EXPECT_EQ(s.layout().priceWidths[7], 80);
    EXPECT_EQ(s.layout().priceWidths[0], design().priceWidths[0]);

    // 0, a text that is no integer, and cancel change nothing.
    const DisplayLayout before = s.layout();
    for (const char *t : {"0", "abc", "12.5", ""})
        f.ui.texts.push_back(std::string(t));
    for (int i = 0; i < 5; ++i) // the fifth is cancelled
        s.askUniformWidth(LayoutGrid::Composite);
    EXPECT_EQ(f.ui.prompts.back(), "Velmaro|複合単価表のセル幅を入力|");
    EXPECT_EQ(s.layout(), before);

    EXPECT_EQ(typedWidth("－５"), -5);
    EXPECT_EQ(typedWidth("\xE3\x80\x80" "70"), 70);
    EXPECT_EQ(typedWidth("1,000"), 0);
    EXPECT_EQ(typedWidth("99999"), LayoutSizeLimit);
}

TEST(DisplayLayoutFile, ShippedDefaultsAreWholeLayoutsInTheWrittenForm)
{
    for (const char *name : {"velmo_p_sxga.dat", "velmo_p_xga.dat", "velmo_p_uvga.dat"}) {
        const std::string bytes = readWholeFile(fs::path(VELMO_DATA_DIR) / "layouts" / name);
        DisplayLayout l = design();
        readDisplayLayoutText(bytes, l);
        std::string written;
        for (const std::string &line : displayLayoutLines(l))
            written += line + "\r\n";
        EXPECT_EQ(written, bytes) << name; // every line there, in order, with CR LF
        EXPECT_TRUE(l.barShown(LayoutBar::Tree) && l.barShown(LayoutBar::Status)) << name;
    }
}
