#include "velmok/core/display_layout.h"

#include "base/errors.h"
#include "velmok/core/velmok_texts.h"
#include "base/fileio.h"
#include "base/settings_file.h"

#include <algorithm>
#include <charconv>

namespace velmo {
namespace fs = std::filesystem;

namespace {

struct BarKey {
    LayoutBar bar;
    const char *key;
};
constexpr BarKey BarKeys[LayoutBarCount] = {
    {LayoutBar::Title, "[TITLE_USE]"},
    {LayoutBar::Top, "[TOP_USE]"},
    {LayoutBar::Tree, "[TREE_USE]"},
    {LayoutBar::Status, "[STATUS_USE]"},
};
constexpr LayoutGrid Grids[] = {LayoutGrid::Rate, LayoutGrid::Price, LayoutGrid::Composite};
const char *VersionLine = "[Version]=2.00";
const char *TreeWidthKey = "[TREEVIEW_WIDTH]";
const char *RateGridHeightKey = "[StrColGrid1]";

// "[StrColGrid2_Colwidths[5]]"
std::string columnKey(LayoutGrid grid, int col)
{
    return "[StrColGrid" + std::to_string(static_cast<int>(grid) + 1) + "_Colwidths[" + std::to_string(col) + "]]";
}

int clampSize(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -LayoutSizeLimit, LayoutSizeLimit));
}

// A decimal integer with an optional sign and spaces around it, within 32 bits.
std::optional<int> decimalInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] >= '0' && text[1] <= '9')
        text.remove_prefix(1);
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

int sizeOr(std::string_view text, int fallback)
{
    const auto v = decimalInteger(text);
    return v ? clampSize(*v) : fallback;
}

} // namespace

std::span<int> DisplayLayout::widths(LayoutGrid g)
{
    switch (g) {
    case LayoutGrid::Rate: return rateWidths;
    case LayoutGrid::Price: return priceWidths;
    case LayoutGrid::Composite: break;
    }
    return compositeWidths;
}

std::span<const int> DisplayLayout::widths(LayoutGrid g) const
{
    return const_cast<DisplayLayout *>(this)->widths(g);
}

std::optional<std::string> defaultLayoutFileName(const Rect &screen)
{
    if (screen.width == 1280 && screen.height == 1024)
        return "velmo_p_sxga.dat";
    if (screen.width == 1024 && screen.height == 768)
        return "velmo_p_xga.dat";
    if (screen.width == 1280 && screen.height == 768)
        return "velmo_p_uvga.dat";
    return std::nullopt;
}

std::optional<std::string> defaultLayoutFileName(const Rect &screen, const Rect &workArea)
{
    if (auto exact = defaultLayoutFileName(screen))
        return exact;
    if (workArea.height >= ShortWorkAreaHeight)
        return std::nullopt;
    return workArea.width >= 1280 ? "velmo_p_uvga.dat" : "velmo_p_xga.dat";
}

int fittedRowHeight(int gridHeight, int rows, int frame, int designRowHeight, int minRowHeight)
{
    if (rows <= 0)
        return designRowHeight;
    const int fits = (gridHeight - frame) / rows - 1; // each row has its grid line below it
    return std::clamp(fits, minRowHeight, std::max(minRowHeight, designRowHeight));
}

void readDisplayLayoutText(std::string_view cp932Bytes, DisplayLayout &layout)
{
    for (const std::string &line : splitTextLines(cp932Bytes)) {
        for (const BarKey &b : BarKeys) {
            if (line == std::string(b.key) + "=TRUE")
                layout.setBarShown(b.bar, true);
            else if (line == std::string(b.key) + "=FALSE")
                layout.setBarShown(b.bar, false);
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue; // its key is empty: nothing to set
        const std::string key = line.substr(0, eq);
        const std::string_view value = std::string_view(line).substr(eq + 1);
        if (key == TreeWidthKey) {
            layout.treeWidth = sizeOr(value, FallbackWidth);
            continue;
        }
        if (key == RateGridHeightKey) {
            layout.rateGridHeight = sizeOr(value, FallbackRateGridHeight);
            continue;
        }
        for (LayoutGrid g : Grids) {
            const std::span<int> w = layout.widths(g);
            for (size_t c = 0; c < w.size(); ++c)
                if (key == columnKey(g, static_cast<int>(c)))
                    w[c] = sizeOr(value, FallbackWidth);
        }
    }
}

std::vector<std::string> displayLayoutLines(const DisplayLayout &layout)
{
    std::vector<std::string> lines{VersionLine};
    for (const BarKey &b : BarKeys)
        lines.push_back(std::string(b.key) + (layout.barShown(b.bar) ? "=TRUE" : "=FALSE"));
    lines.push_back(std::string(TreeWidthKey) + "=" + std::to_string(layout.treeWidth));
    lines.push_back(std::string(RateGridHeightKey) + "=" + std::to_string(layout.rateGridHeight));
    for (LayoutGrid g : Grids) {
        const std::span<const int> w = layout.widths(g);
        for (size_t c = 0; c < w.size(); ++c)
            lines.push_back(columnKey(g, static_cast<int>(c)) + "=" + std::to_string(w[c]));
    }
    return lines;
}

int typedWidth(std::string_view text)
{
    // Typed with the input method on, the digits may come full-width.
    std::string half;
    for (size_t i = 0; i < text.size();) {
        const auto at = [&](const char *seq) { return text.substr(i, 3) == seq; };
        const unsigned char c0 = static_cast<unsigned char>(text[i]);
        if (text.size() - i >= 3 && c0 == 0xEF && static_cast<unsigned char>(text[i + 1]) == 0xBC) {
            const unsigned char c2 = static_cast<unsigned char>(text[i + 2]);
            if (c2 >= 0x90 && c2 <= 0x99) { // ０ … ９
                half += static_cast<char>('0' + (c2 - 0x90));
                i += 3;
                continue;
            }
            if (c2 == 0x8D || c2 == 0x8B) { // － ＋
                half += c2 == 0x8D ? '-' : '+';
                i += 3;
                continue;
            }
        }
        if (at("\xE2\x88\x92")) { // − (minus sign)
            half += '-';
            i += 3;
        } else if (at("\xE3\x80\x80")) { // ideographic space
            half += ' ';
            i += 3;
        } else {
            half += text[i++];
        }
    }
    const auto v = decimalInteger(half);
    return v ? clampSize(*v) : 0;
}

// ---- the session ----

LayoutSession::LayoutSession(UserInterface &ui, const ProgramHomes &homes, const DisplayLayout &design)
    : ui_(ui), programFolder_(homes.program), settingsFolder_(homes.settings), layout_(design)
{
}

void LayoutSession::load()
{
    fs::path file = layoutFile();
    std::optional<std::string> bytes;
    try {
        bytes = readWholeFileIfPresent(file);
    } catch (const IoError &) {
        ownFileUnreadable_ = true;
        throw;
    }
    if (!bytes) {
        const auto name = defaultLayoutFileName(ui_.screen(), ui_.workArea());
        if (!name)
            return;
        file = programFolder_ / *name;
        bytes = readWholeFileIfPresent(file);
        if (!bytes)
            return;
    }
    readDisplayLayoutText(*bytes, layout_);
    readFrom_ = file;
}

void LayoutSession::save() const
{
    if (ownFileUnreadable_)
        throw IoError(velmoktext::layoutNotOverwrittenText(layoutFile()));
    SettingsFile file;
    for (const std::string &line : displayLayoutLines(layout_)) {
        const size_t eq = line.find('=');
        file.set(line.substr(0, eq), line.substr(eq + 1));
    }
    file.write(layoutFile());
}

void LayoutSession::toggleBar(LayoutBar bar)
{
    layout_.setBarShown(bar, !layout_.barShown(bar));
}

void LayoutSession::askUniformWidth(LayoutGrid grid)
{
    const auto text = ui_.askText(velmoktext::Title, velmoktext::UniformWidthPrompts[static_cast<int>(grid)], "", AnyLength);
    if (!text)
        return;
    const int width = typedWidth(*text);
    if (width == 0)
        return;
    const std::span<int> w = layout_.widths(grid);
    for (size_t c = 1; c < w.size(); ++c) // the size column keeps its width
        w[c] = width;
}

void LayoutSession::treeResized(int width)
{
    layout_.treeWidth = clampSize(width);
}

void LayoutSession::columnResized(LayoutGrid grid, int col, int width)
{
    const std::span<int> w = layout_.widths(grid);
    if (col >= 0 && static_cast<size_t>(col) < w.size())
        w[static_cast<size_t>(col)] = clampSize(width);
}

} // namespace velmo
