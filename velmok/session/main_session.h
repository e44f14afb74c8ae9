#pragma once
// The whole state of the composite unit price manager's main window, without a widget: start-up,
// services, pipes, locations, price bases, the 基本設定 panel, save and close. The commands of
// editing, outputs, the data folder and the information menu are parts of their own: each is
// handed only the views of this state it works on (main_seams.h), never the session itself.
// The window forwards its events here and shows what it reads back.
#include "velmok/core/calc.h"
#include "velmok/core/data_folder.h"
#include "velmok/session/grid_editing.h"
#include "velmok/core/grid_texts.h"
#include "base/outside_change.h"
#include "base/program_homes.h"
#include "velmok/session/information_commands.h"
#include "velmok/session/main_editing.h"
#include "velmok/session/main_folders.h"
#include "velmok/session/main_grids.h"
#include "velmok/session/main_outputs.h"
#include "velmok/session/main_user_interface.h"
#include "velmok/exports/print_handoff.h"
#include "velmok/session/settings_controls.h"
#include "velmok/exports/text_builder.h"
#include "velmok/session/earlier_versions_command.h"
#include "velmok/core/velmok_texts.h"
#include "velmok/session/window_placement.h"
#include "pricefile/service_file.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

constexpr int StatusPanelCount = 7;

enum class Edition { StandAlone, Network };

// The edition a program file name stands for ("net_velmok", with or without ".exe").
Edition editionOf(const std::filesystem::path &programPath);

class MainSession {
public:
    // Creating the main window: reads the INI position (pulled back into the work area),
    // chooses the edition from the program file name and prepares the data folder.
    MainSession(MainUserInterface &ui, std::filesystem::path programPath, std::string argument);
    ~MainSession();
    MainSession(const MainSession &) = delete;
    MainSession &operator=(const MainSession &) = delete;

    // Showing the window: service names, tree and menus, the service and pipe of the command
    // line, focus on row 1, not modified. A service file that cannot be read is named in the
    // IoError raised at the end; the session then holds no service file.
    void start();

    // ---- state read by the window ----
    Edition edition() const { return edition_; }
    std::string titlePanel() const
    {
        return edition_ == Edition::Network ? velmoktext::NetworkTitlePanel : velmoktext::Title;
    }
    Rect windowRect() const { return windowRect_; }
    const std::filesystem::path &programDir() const { return programDir_; }
    // Where the data, settings and print hand-off files live (beside the program, or the
    // user's own folders when installed).
    const ProgramHomes &homes() const { return homes_; }
    const std::filesystem::path &dataFolder() const { return dataFolder_; }
    std::filesystem::path currentFilePath() const { return dataFolder_ / serviceFileName(position_.service); }
    // A service file was read whole; without one nothing is shown, edited or saved.
    bool serviceLoaded() const { return serviceLoaded_; }
    // The status bar: pipe name, its second and third names, the location tab, the settings
    // record's size text, the data folder, the service file name with a leading separator.
    std::array<std::string, StatusPanelCount> statusPanels() const;
    // The pipe and service names of the tree and the pipe menus.
    const TreeNames &names() const { return names_; }
    // Where the window is: the shown service, pipe, location tab and tree node, the service
    // whose pipe menu was opened last, and the highlighted size row of the three grids.
    struct Position {
        int service = 0, pipe = 0, location = 0, menuService = 0, node = 0, focusRow = 1;
    };
    const Position &position() const { return position_; }
    bool modified() const { return modified_; }
    bool pipeLoaded() const { return pipeLoaded_; }
    std::vector<std::string> tabCaptions() const;
    std::string headingStrip() const; // kanname
    std::string copyLocationCaption() const;
    const SettingsControls &settingsControls() const { return controls_; }
    // Changes each time the settings controls are loaded from a pipe, so that the window fills
    // its fields only then and a number typed but not yet applied stays where it is.
    int controlsRevision() const { return controlsRevision_; }
    const WorkingTable &table() const { return table_; }
    const ServiceFile &file() const { return file_; }

    // What the grids show: the table, the selected location, the price basis (the selected
    // column of the material price and composite grids) and the two display choices.
    GridView gridView() const;
    // The models of the three grids, which the session fills and types into; the window shows them.
    MainGrids &grids() { return *grids_; }
    const MainGrids &grids() const { return *grids_; }
    // Fills the three grids from the table, with the highlighted row and the selected basis.
    void showGrids();

    // ---- commands and control events ----
    void treeClick(int node);
    // Shift held when the mouse is released over the tree: rename the node.
    void treeRename(int node);
    void renameService(int service); // "このグループに名称をつける"
    void menuServiceOpened(int service);
    void menuPipeChosen(int pipe); // mouse or F1 … F10, Shift+F1 … Shift+F10
    void locationTabChanged(int tab);
    void basisCellClicked(int col, int row); // material price or composite grid
    void basisMenu(Basis basis);                 // Ctrl+F1 … Ctrl+F6
    // "歩掛表に計算結果を表示" (true) / "歩掛表に歩掛を表示" (false)
    void showRateResults(bool results);
    void showComposites(bool adopted);       // "複合単価表に複合単価を表示" / "…採用単価を表示"
    // A percentage outside 0–999.99 raises RangeError naming the field and the range: nothing
    // is applied and the controls show the applied values again (a new controlsRevision).
    void applySettings(const SettingsControls &c);
    // A setting or labour price field was left, or a command began, holding a number typed and
    // not entered: the controls are applied as Enter applies them, unless they hold what is
    // applied already. So every later command, every save and the close see what is shown.
    void settingsLeft(const SettingsControls &c);
    // "保  存" and the save button of the title strip (Ctrl+S). When another program changed
    // the file, the question before the save may answer 読み込み直す: the file is then read
    // again in place of the edits, nothing is written and no "saved" notice comes; the status
    // line says the file was read again.
    void save();
    void quickSave();
    // Closing: asks to save, then writes names, layout and position; true when the window may
    // close. "戻る" at the question keeps it open with nothing written (false). A failed save
    // of the price file raises (the window then stays open with its data); a failure of the
    // other writes is shown and the close goes on.
    bool close(Rect windowRect);

    // ---- the parts of the window's commands, each with its own state ----
    InformationCommands &information() { return information_; } // Information(&I), ファイル
    MainEditing &editing() { return editing_; }                  // the grids, undo, the dialogs, copy and paste
    const MainEditing &editing() const { return editing_; }
    MainOutputs &outputs() { return outputs_; }                  // 外部デ－タ入出力 and 印  刷
    MainFolders &folders() { return folders_; }                  // the data folder commands
    EarlierVersionsCommand &versions() { return versions_; }     // 以前の版…

    // ---- another program's change to the service file shown ----
    // The window came to the front again. When another program changed the service file since
    // this one read or wrote it: without unsaved edits the file is read again and the same
    // service, pipe and location tab are shown; with them the bar offers to do so. A file that
    // cannot be read is an error (once for the same failure) and the data stay as they are.
    // Returns whether there is something new to show.
    bool windowActivated();
    // The bar above the grids and the status line after a reload.
    const OutsideChange &outsideChange() const { return outside_; }
    void barReloadClicked(); // 読み込み直す: asks before the edits go, then reads the file again
    void barCloseClicked();  // 閉じる

    // The INI file: named after the program, in the settings folder.
    std::filesystem::path iniPath() const { return homes_.settings / iniFileOf(programPath_).filename(); }

private:
    // The views of this state that the parts are handed (main_seams.h).
    class PartSeams;

    // Opens another service's file; false when "戻る" was chosen at the save question, and
    // nothing changed.
    bool switchService(int service);
    void loadPipe(int pipe);
    void loadSettingsIntoControls();
    void recalculateLocation(); // the 14 size rows of the selected location
    // Asks the save question when modified; whether the file now holds what is shown (it was
    // saved, or read again in place of the edits at the second-writer question), or nothing
    // when withBack offered "戻る" and it was chosen (then nothing changed).
    std::optional<bool> askToSave(bool withBack = false);
    // Writes the service file; false when the person chose to read it again instead.
    bool writeCurrentFile();
    // Whether the unsaved edits may go for what the file holds; asks only when there are some.
    bool reloadConfirmed(const std::string &subject);
    // Reads the service file again (it must be there) and shows the same pipe, not modified, its
    // undo history ended. A read that fails raises and changes nothing.
    void reloadCurrentFile();
    // Adopts a service file read again from the current path.
    void adoptReloaded(ServiceFile &&next);
    void requireServiceLoaded() const;
    // Names the damaged texts of the service file just read, if any.
    void reportDamage();
    void selectPipeNode();
    PipeBlock &currentBlock() { return file_.pipeBlock(position_.pipe); }
    void writeTableBack(); // every working row into the pipe's records
    void refreshPipeName();
    void showPipeAgain(); // settings controls, a valid tab, the tree and menu name
    // Shows size rows from … to of the three grids again.
    void showGridRows(int from, int to);
    void showRowHighlight();

    MainUserInterface &ui_;
    std::filesystem::path programPath_, programDir_;
    ProgramHomes homes_;
    std::string argument_;
    // The service of a service file given as the only argument; its folder is the data folder.
    std::optional<int> fileService_;
    std::string refusedFile_; // a file argument that is no service file, for a notice
    Edition edition_ = Edition::StandAlone;
    Rect windowRect_;
    std::filesystem::path dataFolder_;
    TreeNames names_;
    Position position_;
    Basis basis_ = Basis::Level1;
    int controlsRevision_ = 0;
    bool rateShowsResults_ = false, compositeShowsAdopted_ = false;
    bool modified_ = false, pipeLoaded_ = false, serviceLoaded_ = false;
    std::unique_ptr<MainGrids> grids_ = std::make_unique<MainGrids>();
    ServiceFile file_;
    WorkingTable table_;
    SettingsControls controls_;
    OutsideChange outside_;
    std::unique_ptr<PartSeams> seams_;
    InformationCommands information_;
    MainEditing editing_;
    MainOutputs outputs_;
    MainFolders folders_;
    EarlierVersionsCommand versions_;
};

} // namespace velmo
