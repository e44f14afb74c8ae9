#pragma once
// The sheet set-up dialog Tfsheetset ("管材別基本デ－タ設定") without its window: the pipe's
// names and memos, its unit, the 14 sizes, the four location names, the composite rounding
// settings and the pipe mode, loaded from the working table when the dialog is shown and
// written back into it on "登  録".
#include "velmok/core/calc.h"
#include "base/user_interface.h"

#include <array>
#include <string>
#include <vector>

namespace velmo {

class SheetSetup {
public:
    static constexpr const char *Caption = "管材別基本デ－タ設定";

    // The texts of working rows 1–5, in this order.
    enum class Text { PipeName, Uses, Joint, MaterialMemo, PageMemo };
    static constexpr size_t TextCount = 5;

    // The drop-down lists (the user may also type any text).
    static const std::vector<const char *> PipeNameEntries; // GOODSBOX
    static const std::vector<const char *> UsesEntries;     // ComboBox2
    static const std::vector<const char *> JointEntries;    // ComboBox3
    static const std::vector<const char *> UnitEntries;     // ComboBox1, group "単位"

    // Radio groups, captions in the order shown; the index is what the state holds.
    static constexpr std::array<const char *, 4> ScaleCaptions = {
        "各要素単位で端数処理", "各要素単位では小数1位有効", "各要素単位では小数2位有効", "各要素単位では小数3位有効"};
    static constexpr std::array<const char *, 3> AddendCaptions = {"切り上げ", "切り捨て", "四捨五入"};
    static constexpr std::array<const char *, 6> CodeCaptions = {"1", "10", "100", "1000", "有効3桁", "有効4桁"};
    static constexpr std::array<const char *, 2> ModeCaptions = {"配管モード", "冷媒モード"};

    // The size-set buttons, in the order shown.
    enum class SizeSet { From13, From15, From20, Refrigerant, RefrigerantFrom95, Clear };
    static constexpr std::array<const char *, 6> SizeSetCaptions = {"13スタ－ト", "15スタ－ト", "20スタ－ト",
                                                                   "冷媒セット", "冷媒セット", "  Clear   "};
    static constexpr const char *SetLocationsCaption = " Set  ";
    static constexpr const char *ClearLocationsCaption = "Clear";
    static constexpr const char *RegisterCaption = "登  録";
    static constexpr const char *ExitCaption = "Exit";

    // Loads the dialog from the working table of `pipe` (the dialog's show event). A composite
    // significant-digit code of 0 is set to 1 in the settings row first, so that it shows as 1.
    static SheetSetup load(WorkingTable &table, int pipe);

    // "登  録": writes every field back into the working table.
    void registerInto(WorkingTable &table) const;

    void applySizeSet(SizeSet set);
    void setDefaultLocationNames(); // " Set  "
    void clearLocationNames();      // "Clear"
    // Clicking a location name or a memo: an input box with the current text; cancel keeps it.
    void editLocationName(int location, UserInterface &ui);
    void editMemo(Text memo, UserInterface &ui);

    int pipe = 0; // the pipe the dialog works on (the hidden field nopanel)
    std::array<std::string, TextCount> texts;
    std::string &text(Text t) { return texts[static_cast<size_t>(t)]; }
    const std::string &text(Text t) const { return texts[static_cast<size_t>(t)]; }
    std::string unit;
    std::array<std::string, SizeRowsPerLocation> sizes;
    std::array<std::string, LocationsPerPipe> locationNames;
    // The checked radio buttons; when the stored value matches none, the design defaults
    // "各要素単位で端数処理", "切り上げ", "切り上げ", "1000", "配管モード".
    int scale = 0;          // settings B3: 0 … 3 decimals
    int fracAddend = 0;     // settings B2
    int sigAddend = 0;      // settings B6
    int code = 3;           // settings B1
    int mode = 0;           // settings B4: 0 normal, 1 refrigerant (stored as 2)
};

} // namespace velmo
