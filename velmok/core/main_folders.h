#pragma once
// The main window's two commands that change the data folder: reading the service files of
// another folder, and saving the current service into another folder with the others copied.
namespace velmo {

class MainSession;

class MainFolders {
public:
    explicit MainFolders(MainSession &session) : s_(session) {}
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
    MainSession &s_;
};

} // namespace velmo
