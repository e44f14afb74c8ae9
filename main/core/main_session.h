#pragma once
// The whole state of the composite unit price manager's main window and every command of it,
// without a widget: start-up, services, pipes, locations, price bases, the 基本設定 panel,
// save, folders and close. The window forwards its events here and shows what it reads back.
#include "calc.h"
#include "service_file.h"
#include "user_interface.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmo {

constexpr int ServiceCount = 10;
constexpr int NodesPerService = 21;
constexpr int TreeNodeCount = ServiceCount * NodesPerService; // 210
constexpr int StatusPanelCount = 7;

enum class Edition { StandAlone, Network };

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const Rect &) const = default;
};

// The values shown in the 基本設定 controls. Combo indexes are −1 before anything was chosen.
struct SettingsControls {
    int priceCodeIndex = -1;    // ComboBox1: 有効桁1 … 有効4桁
    int fracAddendIndex = -1;   // ComboBox2: 小数以下切り上げ / 切り捨て / 四捨五入
    int sigAddendIndex = -1;    // ComboBox3: 有効桁以下切り上げ / 切り捨て / 四捨五入
    bool useRates = false;      // CheckGroupBox1 "単価に掛け率を使用"
    std::array<Currency, 6> percent{}; // avr_N, avr_1 … avr_5
    std::array<Currency, 6> labour{};  // GPAYDAY_N, GPAYDAY1 … GPAYDAY5
    bool operator==(const SettingsControls &) const = default;
};

// Entries of the three combo boxes and the values they stand for.
extern const std::array<const char *, 6> PriceCodeEntries;
extern const std::array<const char *, 3> FracAddendEntries;
extern const std::array<const char *, 3> SigAddendEntries;
Currency priceCodeValue(int index);
Currency addendValue(int index); // 0 → 0.9, 1 → 0, 2 → 0.5

class MainSession {
public:
    static constexpr const char *Title = "Velmaro";
    static constexpr const char *WindowCaption = "Velmaro-Brindlecraft-";
    static constexpr const char *SaveQuestion = "現在の編集内容を保存しますか？";
    static constexpr const char *SavedNotice = "保存しました。";
    static constexpr const char *FolderDialogTitle = "フォルダーを指定して下さい";
    static constexpr const char *NoPipeNotice = "管材が選択されていません";
    static constexpr Rect DesignSize{0, 0, 1280, 860};

    // Creating the main window: reads the INI position (pulled back into the work area),
    // chooses the edition from the program file name and prepares the data folder.
    MainSession(UserInterface &ui, std::filesystem::path programPath, std::string argument, Rect workArea);

    // Showing the window: service names, tree and menus, the service and pipe of the command
    // line, focus on row 1, not modified.
    void start();

    // ---- state read by the window ----
    Edition edition() const { return edition_; }
    std::string titlePanel() const { return edition_ == Edition::Network ? "Velmaro-Network版" : "Velmaro"; }
    Rect windowRect() const { return windowRect_; }
    const std::filesystem::path &programDir() const { return programDir_; }
    const std::filesystem::path &dataFolder() const { return dataFolder_; }
    // A service file was read whole; without one nothing is shown, edited or saved.
    bool serviceLoaded() const { return serviceLoaded_; }
    std::filesystem::path currentFilePath() const;
    const std::array<std::string, StatusPanelCount> &statusPanels() const { return status_; }
    const std::string &treeText(int node) const { return treeTexts_[node]; }
    int selectedNode() const { return selectedNode_; }
    const std::string &serviceName(int s) const { return serviceNames_[s]; }
    const std::string &pipeMenuCaption(int s, int p) const { return pipeMenuCaptions_[s][p]; }
    int currentService() const { return service_; }
    int currentPipe() const { return pipe_; }
    int currentLocation() const { return location_; }
    int menuService() const { return menuService_; }
    bool modified() const { return modified_; }
    bool pipeLoaded() const { return pipeLoaded_; }
    bool refrigerant() const { return table_.refrigerant(); }
    std::vector<std::string> tabCaptions() const;
    std::string headingStrip() const; // kanname
    std::string copyLocationCaption() const;
    bool copyLocationEnabled() const { return !refrigerant(); }
    bool undoEnabled() const { return undoEnabled_; }
    int basisColumn() const { return basisColumn_; } // 1–5 LEVEL1–5, 6 NET, 7 list price
    bool rateShowsResults() const { return rateShowsResults_; }
    bool compositeShowsAdopted() const { return compositeShowsAdopted_; }
    const SettingsControls &settingsControls() const { return controls_; }
    // Changes each time the settings controls are loaded from a pipe, so that the window fills
    // its fields only then and a number typed but not yet applied stays where it is.
    int controlsRevision() const { return controlsRevision_; }
    int focusRow() const { return focusRow_; }
    const WorkingTable &table() const { return table_; }
    const ServiceFile &file() const { return file_; }

    // Grid texts: row 0 is the heading row, rows 1–14 the sizes of the selected location.
    static constexpr int RateCols = 11, PriceCols = 8, CompositeCols = 8, GridRows = 15;
    std::string rateGridText(int col, int row) const;
    std::string priceGridText(int col, int row) const;
    std::string compositeGridText(int col, int row) const;

    // ---- commands and control events ----
    void treeClick(int node);
    // Shift held when the mouse is released over the tree: rename the node.
    void treeRename(int node);
    void renameService(int service); // "このグループに名称をつける"
    void menuServiceOpened(int service);
    void menuPipeChosen(int pipe); // mouse or F1 … F10, Shift+F1 … Shift+F10
    void locationTabChanged(int tab);
    void basisCellClicked(int col, int row); // material price or composite grid
    void basisMenu(int col);                 // Ctrl+F1 … Ctrl+F6
    void showFactors();                      // "歩掛表に歩掛を表示"
    void showResults();                      // "歩掛表に計算結果を表示"
    void showComposites(bool adopted);       // "複合単価表に複合単価を表示" / "…採用単価を表示"
    void applySettings(const SettingsControls &c);
    void save();      // "保  存"
    void quickSave(); // the save button of the title strip
    void loadFromFolder(bool rememberFolder); // "指定フォルダーからデータを読込" / "データファイル設定"
    void saveToFolder();                      // "指定フォルダーにデータを保存"
    // Closing cannot be refused: asks to save, then writes names, layout and position. Only a
    // failed save of the price file raises (the window then stays open with its data); a
    // failure of the other writes is shown and the close goes on.
    void close(Rect windowRect);

    // The INI file beside the program and the hook that writes the display layout.
    std::filesystem::path iniPath() const;
    std::function<void()> writeLayout;

private:
    // Failures met on the way that do not stop a command; raised together at its end. A later
    // failure of the same file replaces the earlier one, so each file is named once.
    struct Failures {
        std::vector<std::pair<std::filesystem::path, std::string>> messages;
        void add(const std::filesystem::path &file, const std::string &message);
        void raise() const;
    };
    // Service names, tree texts and pipe menu captions, as read from a data folder.
    struct TreeNames {
        std::array<std::string, ServiceCount> serviceNames;
        std::array<std::string, TreeNodeCount> treeTexts;
        std::array<std::array<std::string, PipesPerFile>, ServiceCount> pipeMenuCaptions;
    };

    void prepareDataFolder();
    void readNetworkFolder();
    void setDataFolder(const std::filesystem::path &folder);
    // Reads the names of a folder; a service file that cannot be read is added to failures.
    TreeNames readNames(const std::filesystem::path &folder, Failures &failures) const;
    void adoptNames(TreeNames names);
    void writeServiceNames() const;
    void requireServiceLoaded() const;
    void switchService(int service);
    void loadPipe(int pipe);
    void loadSettingsIntoControls();
    void recalculateLocation(); // the 14 size rows of the selected location
    // Asks the save question when modified; true when the file was saved.
    bool askToSave();
    void writeCurrentFile();
    void updateStatus();
    void selectPipeNode();
    std::string pipeNameText(int service, int pipe, const ServiceFile &f) const;
    const BasisResult &basisResult(int a, int col) const;
    int workingRowOf(int gridRow) const { return workingRow(location_, gridRow); }

    UserInterface &ui_;
    std::filesystem::path programPath_, programDir_;
    std::string argument_;
    Edition edition_ = Edition::StandAlone;
    Rect windowRect_;
    std::filesystem::path dataFolder_;
    std::array<std::string, StatusPanelCount> status_;
    std::array<std::string, TreeNodeCount> treeTexts_;
    std::array<std::string, ServiceCount> serviceNames_;
    std::array<std::array<std::string, PipesPerFile>, ServiceCount> pipeMenuCaptions_;
    int selectedNode_ = 0;
    int service_ = 0, pipe_ = 0, location_ = 0, menuService_ = 0;
    int basisColumn_ = 1, focusRow_ = 1, controlsRevision_ = 0;
    bool rateShowsResults_ = false, compositeShowsAdopted_ = false;
    bool modified_ = false, pipeLoaded_ = false, undoEnabled_ = false, serviceLoaded_ = false;
    ServiceFile file_;
    WorkingTable table_;
    WorkingTable undo_;
    SettingsControls controls_;
};

} // namespace velmo
