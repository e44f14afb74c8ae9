#pragma once
// The texts of the equipment registration program's windows: captions, headings, list
// entries and menu items, each defined once for the session, the windows and the tests.
#include <array>

namespace velmo::selvan {

// The application title: the window caption and the caption of every message box.
inline constexpr const char *AppTitle = "ダクト器具単価登録プログラム";
// The title strip, by the duct flag of the argument.
inline constexpr const char *DuctTitle = "ダクト器具単価登録プログラム";
inline constexpr const char *PipingTitle = "配管付属品・器具単価登録プログラム";
// Input boxes.
inline constexpr const char *InputCaption = "QUORVANE-DX";
inline constexpr const char *NamePrompt = "資材名称編集";

// The tabs TabControl1, index 0–6; the price basis of each is basisOfTab.
inline constexpr std::array<const char *, 7> TabCaptions = {"定　価", "LEVEL1", "LEVEL2", "LEVEL3",
                                                            "LEVEL4", "LEVEL5", "原　価"};

// The grid's heading row; column 3 by labour mode.
inline constexpr std::array<const char *, 3> GridHeadings = {"No", "", "資材単価"};
inline constexpr const char *LabourRateHeading = "歩掛(共通)";
inline constexpr const char *InstallationHeading = "取付費";

// The labels of the percentage edits NValEdit1 … NValEdit6 (tags 1–6).
inline constexpr std::array<const char *, 6> PercentLabels = {"提 出1=定価×指定", "提 出2=定価×指定",
                                                              "提 出3=定価×指定", "提 出4=定価×指定",
                                                              "提 出5=定価×指定", "仕　入=定価×指定"};
inline constexpr const char *UseRatesCaption = "単価に掛け率を使用";

// The three lists of the group 計算処理, in the order of SignificantCodes and AddendRaws.

// The unit box's list and its text at start.
inline constexpr const char *DefaultUnit = "ｍ";

// The radio group 労務費, index 0 and 1 (the labour mode stored in the settings record).
inline constexpr std::array<const char *, 2> LabourModeEntries = {"歩掛を使用", "単価を使用"};

// The grid's pop-up menus; an empty text is a separator.
inline constexpr const char *SizeSet13 = "サイズセット(13スタート)";
inline constexpr const char *SizeSet15 = "サイズセット(15スタート)";
inline constexpr const char *CopyAllItem = "表示中のデータをすべてコピー";
inline constexpr const char *PasteAllItem = "コピーしたすべてのデータを表示中のデータに貼り付け";
inline constexpr const char *CopyInstallationItem = "表示中の取付費をコピー";
inline constexpr const char *PasteInstallationItem = "コピーした取付費を表示中の取付費に貼付";
inline constexpr const char *UnifyInstallationItem = "表示中の取付費で統一する";
inline constexpr const char *GridExitItem = "終　了";
// The pop-up menu of every other control and of the window.
inline constexpr const char *ExitItem = "終了";

// The sizes of the two size sets, rows 1–14.
inline constexpr std::array<const char *, 14> Sizes13 = {"13A", "20A", "25A",  "30A",  "40A",  "50A",  "60A",
                                                         "75A", "100A", "125A", "150A", "200A", "250A", "300A"};
inline constexpr std::array<const char *, 14> Sizes15 = {"15A", "20A", "25A",  "32A",  "40A",  "50A",  "65A",
                                                         "80A", "100A", "125A", "150A", "200A", "250A", "300A"};

// The selection dialog TFSelect_Data_K.
inline constexpr const char *SelectCaption = "Quorvane-QUORVANE-DX-";
inline constexpr const char *SelectHeader = "QuorvaneQUORVANE-DX";
inline constexpr const char *SelectStrip = "資材選択";
inline constexpr const char *SelectHint = "編集したい行を選択してください";
inline constexpr const char *SelectButton = "選択実行";
inline constexpr const char *CancelButton = "キャンセル";
inline constexpr const char *MoveUpItem = "上へ移動";
inline constexpr const char *MoveDownItem = "下へ移動";

// Buttons of the main window.
inline constexpr const char *ChooseButton = "資材選択";
inline constexpr const char *EditNameButton = "資材名称編集";
inline constexpr const char *RegisterButton = "登　録";

} // namespace velmo::selvan
