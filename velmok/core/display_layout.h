#pragma once
// The main window's display layout between runs: which of its four bars are shown, the width of
// the tree of pipes, the height of the rate grid and the column widths of the three grids. It is
// kept in the settings text file velmo_p.disp beside the program, read at start and written at
// close; before that file exists, a default layout chosen by the screen size is read instead.
// The values are plain numbers; the window applies them and reports what the user drags.
#include "velmok/core/grid_texts.h"
#include "base/program_homes.h"
#include "base/user_interface.h"

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// The bars of the window, in their order from the top: the title strip, the top bar (基本設定
// and the pipe name), the tree of pipes and the status bar.
enum class LayoutBar { Title, Top, Tree, Status };
constexpr int LayoutBarCount = 4;

// The three grids whose column widths are kept.
enum class LayoutGrid { Rate, Price, Composite };

inline constexpr const char *DisplayLayoutFileName = "velmo_p.disp";

// Values that are not integers read as these.
inline constexpr int FallbackWidth = 100;
inline constexpr int FallbackRateGridHeight = 296;
// Sizes beyond this many pixels either way are taken as the limit, so that no sum of widths can
// overflow and no window grows beyond what the toolkit can show.
inline constexpr int LayoutSizeLimit = 9999;

struct DisplayLayout {
    std::array<bool, LayoutBarCount> shown{true, true, true, true};
    int treeWidth = 0;
    int rateGridHeight = 0;
    std::array<int, RateCols> rateWidths{};
    std::array<int, PriceCols> priceWidths{};
    std::array<int, CompositeCols> compositeWidths{};

    bool barShown(LayoutBar b) const { return shown[static_cast<size_t>(b)]; }
    void setBarShown(LayoutBar b, bool on) { shown[static_cast<size_t>(b)] = on; }
    std::span<int> widths(LayoutGrid g);
    std::span<const int> widths(LayoutGrid g) const;
    bool operator==(const DisplayLayout &) const = default;
};

// The default layout file for a screen of exactly 1280 × 1024 ("velmo_p_sxga.dat"), 1024 × 768
// ("velmo_p_xga.dat") or 1280 × 768 ("velmo_p_uvga.dat"); nothing for any other size.
std::optional<std::string> defaultLayoutFileName(const Rect &screen);

// A work area lower than this cannot hold the window at its design height with its frame.
inline constexpr int ShortWorkAreaHeight = 900;

// The default layout file for a window opening on `screen` inside `workArea` (the screen less
// its panels, in the units the window is laid out in): the file made for the screen's size when
// there is one; otherwise, on a work area too low for the design window, the short layout of
// 1280 × 768 when the work area is at least 1280 wide and that of 1024 × 768 when narrower;
// nothing on a work area that holds the design window.
std::optional<std::string> defaultLayoutFileName(const Rect &screen, const Rect &workArea);

// The row height at which every one of `rows` rows of a grid `gridHeight` high shows, each row
// followed by a one-pixel grid line and `frame` pixels of border taken from the height: the
// design row height when the grid is high enough for it, else the largest height that fits,
// but never less than `minRowHeight` (the grid then scrolls).
int fittedRowHeight(int gridHeight, int rows, int frame, int designRowHeight, int minRowHeight);

// Reads the lines of a layout file (CP932 bytes) over `layout`, in order, so a later line wins:
// a bar line ("[TITLE_USE]=FALSE", exactly) sets its bar; a column-width, "[TREEVIEW_WIDTH]" or
// "[StrColGrid1]" line sets its size, a value that is not a decimal integer reading as 100 (the
// rate grid's height as 296); every other line is ignored.
void readDisplayLayoutText(std::string_view cp932Bytes, DisplayLayout &layout);

// The 34 lines of the file, in order, each without its line end.
std::vector<std::string> displayLayoutLines(const DisplayLayout &layout);

// A width typed into one of the column-width boxes: a decimal integer (full-width digits and
// minus count, spaces around it do not), 0 for any other text.
int typedWidth(std::string_view text);

// The layout of one window: read at start, changed by the menu and by dragging, written at
// close. The window builds it with its design values, applies what it holds and reports the
// borders the user drags.
class LayoutSession {
public:
    // The default layout files are read from the program folder, velmo_p.disp is kept in the
    // settings folder (the same folder for a portable program).
    LayoutSession(UserInterface &ui, const ProgramHomes &homes, const DisplayLayout &design);

    // velmo_p.disp in the settings folder, or, while it does not exist, the default file for the
    // screen and its work area when there is one; without either the design stays. A file that cannot be
    // read raises IoError and leaves the design as it was.
    void load();
    // Writes the 34 lines to velmo_p.disp, replacing it whole. A velmo_p.disp that existed but
    // could not be read at start is kept as it is: that raises IoError and writes nothing.
    void save() const;

    const DisplayLayout &layout() const { return layout_; }
    std::filesystem::path layoutFile() const { return settingsFolder_ / DisplayLayoutFileName; }
    // The file the layout was read from at start; empty when none was read.
    const std::filesystem::path &readFrom() const { return readFrom_; }

    // The bar toggles of the menu 表  示.
    void toggleBar(LayoutBar bar);
    // "歩掛表のセル幅を調整", "提出単価表のセル幅を調整", "複合単価表のセル幅を調整": asks for a
    // width and gives it to every column but the first; cancel or 0 changes nothing.
    void askUniformWidth(LayoutGrid grid);

    // What the user dragged: the border between the tree and the grids, a column border.
    void treeResized(int width);
    void columnResized(LayoutGrid grid, int col, int width);

private:
    UserInterface &ui_;
    std::filesystem::path programFolder_, settingsFolder_;
    DisplayLayout layout_;
    std::filesystem::path readFrom_;
    bool ownFileUnreadable_ = false;
};

} // namespace velmo
