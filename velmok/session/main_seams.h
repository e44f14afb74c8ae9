#pragma once
// What the main session hands to each of its parts: a narrow view of its state for each, so
// that a part reaches only what its commands work on and never the session as a whole.
// MainEditing works on an EditedPipe and its PipeDisplay, MainOutputs reads an OutputSource,
// MainFolders moves the data folder through a FolderHost. The session implements all four.
#include "velmok/core/calc.h"
#include "velmok/core/data_folder.h"
#include "velmok/core/grid_texts.h"
#include "pricefile/service_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

struct MainGrids;

// The selected pipe as the editing commands change it: its working table and the records of
// the service file the table is stored into.
class EditedPipe {
public:
    virtual ~EditedPipe() = default;
    // A pipe is open; without one nothing is edited.
    virtual bool pipeLoaded() const = 0;
    virtual int pipe() const = 0; // the selected pipe of the service file, from 0
    virtual WorkingTable &table() = 0;
    // A pipe's records in the service file held in memory.
    virtual PipeBlock &records(int pipe) = 0;
    PipeBlock &records() { return records(pipe()); }
    // Every working row into the selected pipe's records.
    virtual void writeTableBack() = 0;
    // Opens the selected pipe again from its records: the table, the settings controls and the
    // first location, with the undo and the history started again.
    virtual void reopen() = 0;
};

// How the window shows the pipe being edited: the three grids, and what a change or a move of
// the entry shows again.
class PipeDisplay {
public:
    virtual ~PipeDisplay() = default;
    virtual MainGrids &grids() = 0;
    // What the grids show: the selected location, the price basis and the display choices.
    virtual GridView view() const = 0;
    // Size rows from … to of the three grids again.
    virtual void showRows(int from, int to) = 0;
    // The highlighted row moves to `row` (none: it stays) and the price basis becomes `basis`;
    // a new basis shows the three grids again, else only the highlight moves.
    virtual void moveHighlight(std::optional<int> row, Basis basis) = 0;
    // After a change of the whole pipe: the settings controls, a valid location tab (the first
    // one with firstLocation), the tree and menu name.
    virtual void showPipeAgain(bool firstLocation) = 0;
    // The pipe was cleared: shown again from the first location, its tree node without a name.
    virtual void showClearedPipe() = 0;
};

// The service file shown, for the parts that read or write it whole.
class ShownService {
public:
    virtual ~ShownService() = default;
    // The service file held in memory; raises IoError naming it when none could be read.
    virtual ServiceFile &loadedFile() = 0;
    virtual std::filesystem::path filePath() const = 0;
};

// What the outputs take out of the session: the selected pipe's table as shown and the service file.
class OutputSource : public ShownService {
public:
    virtual bool pipeLoaded() const = 0;
    virtual const WorkingTable &table() const = 0;
    virtual std::vector<std::string> tabCaptions() const = 0;
    virtual std::string serviceName() const = 0;
    // The output level dialog's basis becomes the selected basis column.
    virtual void selectBasis(Basis basis) = 0;
};

// What the data folder commands change: the folder, and the service file read from it.
class FolderHost : public ShownService {
public:
    virtual int service() const = 0;
    virtual const std::filesystem::path &dataFolder() const = 0;
    // The save question before the data go; see MainSession::askToSave.
    virtual std::optional<bool> askToSave(bool withBack) = 0;
    // A folder whose current service file was read whole becomes the data folder: its names and
    // that file are shown, from the first pipe, not modified.
    virtual void adoptFolder(const std::filesystem::path &folder, TreeNames &&names, ServiceFile &&file) = 0;
    // The current service file was saved into `folder`, which becomes the data folder.
    virtual void savedInto(const std::filesystem::path &folder) = 0;
    // The current service file was written outside the session's save (an earlier version put
    // back): it is read again and shown as after another program's change.
    virtual void reloadFile() = 0;
};

} // namespace velmo
