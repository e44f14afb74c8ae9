#pragma once
// The small commands of the menus Information(&I) and ファイル around the main work: the
// manual, two desktop tools, the install folder, the memory, the screen resolution, the release
// and the version. They read nothing of the price data: they are handed only the person's
// UserInterface and the program's homes.
#include "base/program_homes.h"
#include "base/user_interface.h"

#include <filesystem>
#include <string>

namespace velmo {

class InformationCommands {
public:
    InformationCommands(UserInterface &ui, const ProgramHomes &homes) : ui_(ui), homes_(homes) {}

    void openHelp();             // "取扱説明書（ヘルプ）": the manual beside the program
    // "インストールフォルダ－確認"; an installed program also names the user's data and
    // settings folders.
    void showInstallFolder();
    // "メモ帳を起動": starts the text editor; with Shift held it instead gives the item the
    // shortcut Ctrl+M and starts nothing.
    void startNotepad(bool shiftHeld);
    const std::string &notepadShortcut() const { return notepadShortcut_; }
    void startCalculator();      // "電卓"
    void showMemory();           // "メモリ－確認"
    void showScreenResolution(); // "画面の解像度確認"
    void showRelease();          // "リリースバージョン"
    void showVersion();          // "バージョン情報"

private:
    UserInterface &ui_;
    const ProgramHomes &homes_;
    std::string notepadShortcut_;
};

} // namespace velmo
