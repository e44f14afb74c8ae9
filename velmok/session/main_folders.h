#pragma once
// The main window's two commands that change the data folder: reading the service files of
// another folder, and saving the current service into another folder with the others copied.
// They change the session's folder and service file through a FolderHost and keep its modified
// flag true to what is shown.
#include "velmok/session/main_seams.h"
#include "base/program_homes.h"
#include "base/user_interface.h"

namespace velmo {

class MainFolders {
public:
    // homes: the program folder, which holds the initial data, and the settings folder.
    MainFolders(FolderHost &host, bool &modified, UserInterface &ui, const ProgramHomes &homes)
        : host_(host), modified_(modified), ui_(ui), homes_(homes)
    {
    }
    MainFolders(const MainFolders &) = delete;
    MainFolders &operator=(const MainFolders &) = delete;

    // "指定フォルダーからデータを読込" / "データファイル設定": asks to save, then the folder; the
    // folder is adopted only once the current service's file there was read whole. With
    // rememberFolder the folder is written as the network edition's folder.
    void loadFromFolder(bool rememberFolder);
    // "指定フォルダーにデータを保存": the current service's file into the chosen folder, the other
    // service files copied beside it; that folder becomes the data folder.
    void saveToFolder();

private:
    FolderHost &host_;
    bool &modified_;
    UserInterface &ui_;
    const ProgramHomes &homes_;
};

} // namespace velmo
