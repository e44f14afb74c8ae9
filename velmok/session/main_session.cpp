#include "velmok/session/main_session.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "grid/core/field_range.h"
#include "velmok/session/main_argument.h"
#include "pricefile/text_damage.h"

#include <algorithm>

namespace velmo {
namespace fs = std::filesystem;

Edition editionOf(const fs::path &programPath)
{
    std::string name = programPath.filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0)
        name.resize(name.size() - 4);
    return name == "net_velmok" ? Edition::Network : Edition::StandAlone;
}

// The views of the session's state its parts are handed: each part reaches only what its
// interface names.
class MainSession::PartSeams final : public EditedPipe, public PipeDisplay, public OutputSource, public FolderHost {
public:
    explicit PartSeams(MainSession &s) : s_(s) {}

    // ---- EditedPipe, and what OutputSource reads of it ----
    bool pipeLoaded() const override { return s_.pipeLoaded_; }
    int pipe() const override { return s_.position_.pipe; }
    WorkingTable &table() override { return s_.table_; }
    const WorkingTable &table() const override { return s_.table_; }
    PipeBlock &records(int pipe) override { return s_.file_.pipeBlock(pipe); }
    void writeTableBack() override { s_.writeTableBack(); }
    void reopen() override { s_.loadPipe(s_.position_.pipe); }

    // ---- PipeDisplay ----
    MainGrids &grids() override { return *s_.grids_; }
    GridView view() const override { return s_.gridView(); }
    void showRows(int from, int to) override { s_.showGridRows(from, to); }
    void moveHighlight(std::optional<int> row, Basis basis) override
    {
        if (row)
            s_.position_.focusRow = *row;
        if (basis != s_.basis_) {
            s_.basis_ = basis;
            s_.showGrids();
        } else {
            s_.showRowHighlight();
        }
    }
    void showPipeAgain(bool firstLocation) override
    {
        if (firstLocation)
            s_.position_.location = 0;
        s_.showPipeAgain();
    }
    void showClearedPipe() override
    {
        showPipeAgain(true);
        // The tree shows the cleared pipe without a name; the menu shows "----".
        s_.names_.nodes[s_.position_.service * NodesPerService + s_.position_.pipe + 1].clear();
    }

    // ---- ShownService ----
    ServiceFile &loadedFile() override
    {
        s_.requireServiceLoaded();
        return s_.file_;
    }
    fs::path filePath() const override { return s_.currentFilePath(); }

    // ---- OutputSource ----
    std::vector<std::string> tabCaptions() const override { return s_.tabCaptions(); }
    std::string serviceName() const override { return s_.names_.services[s_.position_.service]; }
    void selectBasis(Basis basis) override { s_.basis_ = basis; }

    // ---- FolderHost ----
    int service() const override { return s_.position_.service; }
    const fs::path &dataFolder() const override { return s_.dataFolder_; }
    std::optional<bool> askToSave(bool withBack) override { return s_.askToSave(withBack); }
    void adoptFolder(const fs::path &folder, TreeNames &&names, ServiceFile &&file) override
    {
        s_.dataFolder_ = folder;
        s_.names_ = std::move(names);
        s_.file_ = std::move(file);
        s_.serviceLoaded_ = true;
        s_.outside_.settled();
        s_.modified_ = false;
        s_.reportDamage();
        s_.loadPipe(0);
        s_.selectPipeNode();
    }
    void savedInto(const fs::path &folder) override { s_.dataFolder_ = folder; }
    void reloadFile() override { s_.reloadCurrentFile(); }

private:
    MainSession &s_;
};

MainSession::MainSession(MainUserInterface &ui, fs::path programPath, std::string argument)
    : ui_(ui), programPath_(std::move(programPath)), programDir_(programPath_.parent_path()),
      homes_(homesOf(programDir_)), argument_(std::move(argument)), seams_(std::make_unique<PartSeams>(*this)),
      information_(ui, homes_), editing_(*seams_, *seams_, modified_, ui), outputs_(*seams_, ui, homes_),
      folders_(*seams_, modified_, ui, homes_), versions_(*seams_, modified_, ui)
{
    makeUserFolders(homes_);
    windowRect_ = readWindowPlacement(iniPath(), ui_.workArea());
    edition_ = editionOf(programPath_);
    // A service file given alone (a file manager opening it) is opened where it is: its folder
    // becomes the data folder. Any other file is refused, and the start goes on as without it.
    if (isFileArgument(argument_)) {
        const fs::path file = fs::absolute(argument_);
        fileService_ = datafolder::serviceOfFileName(file.filename().string());
        if (fileService_) {
            dataFolder_ = file.parent_path();
            return;
        }
        refusedFile_ = velmoktext::notAServiceFileText(file.string());
    } else if (std::error_code ec; !argument_.empty() && argument_.find(';') == std::string::npos &&
                                   fs::is_directory(argument_, ec)) {
        // A folder given alone (a file manager, a mistyped command line): said, never opened silently.
        refusedFile_ = velmoktext::folderArgumentText(argument_);
    }
    dataFolder_ = datafolder::prepare(homes_);
    if (edition_ == Edition::Network)
        dataFolder_ = datafolder::networkFolder(homes_.settings, dataFolder_);
}

MainSession::~MainSession() = default;

void MainSession::start()
{
    Failures failures;
    names_ = datafolder::readNames(dataFolder_, names_, failures);
    table_.clear();
    editing_.forgetUndo();
    std::error_code ec;
    fs::remove(homes_.data / "NEWData.FDA", ec);

    MainArgument arg;
    if (fileService_)
        arg.service = *fileService_;
    else if (!refusedFile_.empty())
        arg.refused = refusedFile_;
    else
        arg = parseMainArgument(argument_);
    position_.service = arg.service;
    position_.pipe = arg.pipe;
    if (!arg.refused.empty())
        ui_.notice(arg.refused, sharedtext::NoticeButton);
    selectPipeNode();
    position_.focusRow = 1;
    try {
        file_.loadOrCreate(currentFilePath());
        serviceLoaded_ = true;
        reportDamage();
    } catch (const IoError &e) {
        // Nothing of this service is in memory: no pipe is shown and nothing can be saved.
        failures.add(currentFilePath(), e.what());
    }
    modified_ = false;
    try {
        loadPipe(arg.pipe);
    } catch (const VelmoError &e) {
        failures.add({}, e.what()); // a figure of the pipe out of range: the rest of the start stands
    }
    failures.raise();
}

std::array<std::string, StatusPanelCount> MainSession::statusPanels() const
{
    std::array<std::string, StatusPanelCount> panels;
    if (pipeLoaded_) {
        panels[0] = table_.row(1).rec.name.text();
        panels[1] = table_.row(2).rec.name.text();
        panels[2] = table_.row(3).rec.name.text();
        const auto tabs = tabCaptions();
        panels[3] = position_.location < static_cast<int>(tabs.size()) ? tabs[position_.location] : "";
        panels[4] = table_.settings().size.text();
    }
    panels[5] = dataFolder_.string();
    panels[6] = std::string(1, fs::path::preferred_separator) + serviceFileName(position_.service);
    if (serviceLoaded_ && file_.readOnly())
        panels[6] += std::string("  ") + sharedtext::ReadOnlyStatusText;
    return panels;
}

// ---- files ----

std::optional<bool> MainSession::askToSave(bool withBack)
{
    if (!modified_)
        return false;
    const std::string question = std::string(velmoktext::SaveQuestion) + "\n" + currentFilePath().string();
    const Answer a = withBack ? ui_.confirmOrBack(question, sharedtext::YesButton, sharedtext::CancelButton,
                                                  sharedtext::BackButton)
                              : ui_.confirm(question, sharedtext::YesButton, sharedtext::CancelButton);
    if (a == Answer::Back)
        return std::nullopt;
    const bool save = a == Answer::Yes;
    if (save)
        writeCurrentFile(); // or read again in place of the edits: the file holds what is shown either way
    modified_ = false;
    return save;
}

bool MainSession::writeCurrentFile()
{
    requireServiceLoaded();
    const fs::path path = currentFilePath();
    // Another program (torvik saving a pipe block, or velmok started twice) may have written
    // the file since it was read: its changes are overwritten only when the user says so, or
    // read in place of this program's edits when the user says that. The save compares again
    // under the write lock: a change that came after the question asks it again.
    ServiceFile::SaveCheck check = ServiceFile::SaveCheck::Unchanged;
    for (int attempt = 0;; ++attempt) {
        if (check == ServiceFile::SaveCheck::Unchanged && file_.changedSince(path)) {
            const std::string subject = sharedtext::changedFileSubject(path);
            // 実行 overwrites the other program's change: Enter answers キャンセル.
            const Answer a = ui_.confirmOrBack(sharedtext::changedOnDiskQuestion(subject), sharedtext::YesButton,
                                               sharedtext::CancelButton, sharedtext::ReloadButton, Answer::No);
            if (a == Answer::Back && reloadConfirmed(subject)) {
                reloadCurrentFile();
                return false;
            }
            if (a != Answer::Yes)
                throw IoError(sharedtext::saveWithdrawnText(path));
            check = ServiceFile::SaveCheck::None;
        }
        try {
            file_.save(path, check);
            break;
        } catch (const ChangedOnDiskError &) {
            if (attempt >= 2)
                throw;
        }
    }
    modified_ = false;
    outside_.settled();
    return true;
}

bool MainSession::reloadConfirmed(const std::string &subject)
{
    return !modified_ || ui_.confirm(sharedtext::reloadQuestion(subject), sharedtext::YesButton,
                                     sharedtext::CancelButton, Answer::No) == Answer::Yes;
}

void MainSession::reloadCurrentFile()
{
    requireServiceLoaded();
    ServiceFile next;
    next.load(currentFilePath()); // a missing file is an error here, never an empty new one
    adoptReloaded(std::move(next));
}

void MainSession::adoptReloaded(ServiceFile &&next)
{
    file_ = std::move(next);
    const int location = position_.location;
    loadPipe(position_.pipe);
    if (location < static_cast<int>(tabCaptions().size())) {
        position_.location = location;
        recalculateLocation();
    }
    // The history starts again from what the file holds: the edits undo would bring back are gone.
    editing_.forgetUndo();
    // The other program may have named or renamed any pipe of the file: the tree and the pipe
    // menu show the names the file holds now.
    for (int p = 0; p < PipesPerFile; ++p)
        names_.nodes[position_.service * NodesPerService + p + 1] = names_.pipeCaptions[position_.service][p] =
            pipeNodeText(file_.pipeBlock(p)[0].name.text());
    modified_ = false;
    outside_.reloaded(sharedtext::changedFileSubject(currentFilePath().filename())); // its folder has a panel
    reportDamage();
}

bool MainSession::windowActivated()
{
    if (!serviceLoaded_)
        return false;
    const fs::path path = currentFilePath();
    try {
        if (!file_.changedSince(path))
            return outside_.settled();
        ServiceFile next;
        next.load(path);
        if (modified_) {
            // What the file holds now tells this change from a later one.
            const FileStamp stamp = next.stamp();
            return outside_.offer(std::to_string(stamp.size) + ":" + std::to_string(stamp.hash),
                                  sharedtext::changedFileSubject(path));
        }
        adoptReloaded(std::move(next));
        return true;
    } catch (const IoError &e) {
        if (outside_.newFailure(e.what()))
            throw;
        return false;
    }
}

void MainSession::barReloadClicked()
{
    if (reloadConfirmed(sharedtext::changedFileSubject(currentFilePath())))
        reloadCurrentFile();
}

void MainSession::barCloseClicked()
{
    outside_.dismiss();
}

void MainSession::reportDamage()
{
    const std::string damage = damageNotice(currentFilePath().string(), file_.damagedTexts());
    if (!damage.empty())
        ui_.notice(damage, sharedtext::NoticeButton);
}

void MainSession::requireServiceLoaded() const
{
    if (!serviceLoaded_)
        throw IoError(velmoktext::serviceNotReadText(currentFilePath()));
}

bool MainSession::switchService(int service)
{
    if (service == position_.service && serviceLoaded_)
        return true;
    // The new file is read whole before anything changes: a file that cannot be read leaves
    // the current service, its data and its edits as they are.
    ServiceFile next;
    next.loadOrCreate(dataFolder_ / serviceFileName(service));
    if (service != position_.service && !askToSave(true))
        return false; // "戻る": the current service stays as it is
    file_ = std::move(next);
    serviceLoaded_ = true;
    outside_.settled();
    position_.service = service;
    position_.pipe = 0;
    reportDamage();
    return true;
}

void MainSession::save()
{
    if (!writeCurrentFile())
        return; // read again instead: nothing was saved, the status line says what happened
    ui_.notice(std::string(velmoktext::SavedNotice) + "\n" + currentFilePath().string(), sharedtext::NoticeButton);
}

void MainSession::quickSave()
{
    writeCurrentFile(); // silent either way; after a reload the status line says what happened
}

bool MainSession::close(Rect windowRect)
{
    // "戻る" keeps the window open with nothing changed or written; a failed save of the
    // price file stops the close too, so no edit is lost.
    if (!askToSave(true))
        return false;
    // The names, the layout and the position are written in every case; one that cannot be
    // written is reported and the program still closes.
    auto attempt = [this](const std::function<void()> &write) {
        try {
            write();
        } catch (const std::exception &e) {
            ui_.notice(e.what(), sharedtext::NoticeButton);
        } catch (...) {
            ui_.notice(velmoktext::UnknownError, sharedtext::NoticeButton);
        }
    };
    attempt([this] { datafolder::writeServiceNames(dataFolder_, names_); });
    attempt([this] { ui_.writeLayout(); });
    attempt([this, windowRect] { writeWindowPlacement(iniPath(), windowRect); });
    windowRect_ = windowRect;
    return true;
}

// ---- pipes ----

void MainSession::loadPipe(int pipe)
{
    if (!serviceLoaded_)
        return;
    position_.pipe = pipe;
    table_.load(currentBlock());
    loadSettingsIntoControls();
    position_.location = 0;
    pipeLoaded_ = true;
    editing_.forgetUndo();
    table_.recalculateAll(currentBlock());
    editing_.restartHistory(); // from the records as calculated
}

void MainSession::loadSettingsIntoControls()
{
    loadSettingsControls(controls_, table_.basicSettings(), table_.settings().D(4));
    ++controlsRevision_;
}

void MainSession::selectPipeNode()
{
    position_.node = position_.service * NodesPerService + position_.pipe + 1;
}

std::vector<std::string> MainSession::tabCaptions() const
{
    if (!pipeLoaded_)
        return {};
    return locationTabCaptions(table_);
}

std::string MainSession::headingStrip() const
{
    const auto p = statusPanels();
    return p[0] + ":" + p[3] + "    " + p[1] + " " + p[2];
}

std::string MainSession::copyLocationCaption() const
{
    std::array<std::string, LocationsPerPipe> n;
    for (int loc = 0; loc < LocationsPerPipe; ++loc)
        n[loc] = table_.row(workingRow(loc, RowsPerLocation)).rec.caption.text();
    return velmoktext::copyLocationCaption(n[0], n[1], n[2], n[3]);
}

GridView MainSession::gridView() const
{
    return GridView{table_, pipeLoaded_, position_.location, basis_, rateShowsResults_, compositeShowsAdopted_};
}

// ---- showing the pipe ----

void MainSession::showGridRows(int from, int to)
{
    const GridView view = gridView();
    for (int r = from; r <= to; ++r)
        grids_->showRow(view, r);
}

void MainSession::showRowHighlight()
{
    grids_->showHighlight(position_.focusRow, basis_);
}

void MainSession::showGrids()
{
    showGridRows(0, GridRows - 1);
    showRowHighlight();
}

void MainSession::writeTableBack()
{
    for (int a = 1; a <= WorkingRows; ++a)
        table_.store(a, currentBlock());
}

void MainSession::refreshPipeName()
{
    const std::string text = pipeNodeText(currentBlock()[0].name.text());
    names_.nodes[position_.service * NodesPerService + position_.pipe + 1] = text;
    names_.pipeCaptions[position_.service][position_.pipe] = text;
}

void MainSession::showPipeAgain()
{
    loadSettingsIntoControls();
    // A pipe that became a refrigerant pipe has a single location tab.
    if (position_.location >= static_cast<int>(tabCaptions().size()))
        position_.location = 0;
    refreshPipeName();
}

// ---- commands ----

void MainSession::treeClick(int node)
{
    if (node < 0 || node >= TreeNodeCount)
        return;
    const int s = node / NodesPerService;
    const int p = node % NodesPerService == 0 ? 0 : node % NodesPerService - 1;
    if (!switchService(s))
        return;
    position_.node = node;
    loadPipe(p);
}

void MainSession::treeRename(int node)
{
    if (node < 0 || node >= TreeNodeCount)
        return;
    const auto text = ui_.askText(velmoktext::Title, velmoktext::NodeNamePrompt, names_.nodes[node], AnyLength);
    if (!text)
        return;
    names_.nodes[node] = *text;
    if (node % NodesPerService == 0)
        names_.services[node / NodesPerService] = *text;
    datafolder::writeServiceNames(dataFolder_, names_);
}

void MainSession::renameService(int service)
{
    const auto text = ui_.askText(velmoktext::Title, velmoktext::ServiceNamePrompt, names_.services[service], AnyLength);
    if (!text)
        return;
    names_.services[service] = *text;
    names_.nodes[service * NodesPerService] = *text;
    datafolder::writeServiceNames(dataFolder_, names_);
}

void MainSession::menuServiceOpened(int service)
{
    position_.menuService = service;
}

void MainSession::menuPipeChosen(int pipe)
{
    if (!switchService(position_.menuService))
        return;
    position_.pipe = pipe;
    selectPipeNode();
    loadPipe(pipe);
}

void MainSession::recalculateLocation()
{
    for (int k = 1; k <= SizeRowsPerLocation; ++k)
        table_.calculateRow(workingRow(position_.location, k), currentBlock());
}

void MainSession::locationTabChanged(int tab)
{
    if (tab < 0 || tab >= static_cast<int>(tabCaptions().size()))
        return;
    position_.location = tab;
    recalculateLocation();
}

void MainSession::basisCellClicked(int col, int row)
{
    if (!pipeLoaded_) {
        ui_.notice(velmoktext::NoPipeNotice, sharedtext::NoticeButton);
        return;
    }
    if (col >= 1 && col <= BasisCount)
        basis_ = basisAt(col);
    if (row >= 1 && row < GridRows)
        position_.focusRow = row;
}

void MainSession::basisMenu(Basis basis)
{
    basis_ = basis;
    position_.focusRow = 1;
}

void MainSession::showRateResults(bool results)
{
    rateShowsResults_ = results;
    if (results && pipeLoaded_)
        recalculateLocation();
}

void MainSession::showComposites(bool adopted)
{
    compositeShowsAdopted_ = adopted;
}

void MainSession::settingsLeft(const SettingsControls &c)
{
    if (c != controls_)
        applySettings(c);
}

void MainSession::applySettings(const SettingsControls &c)
{
    if (!pipeLoaded_) {
        ui_.notice(velmoktext::NoPipeNotice, sharedtext::NoticeButton);
        return;
    }
    // A percentage outside 0–999.99 is refused before anything is applied, and the fields show
    // the applied values again.
    for (size_t i = 0; i < c.percent.size(); ++i) {
        if (PercentRange.holds(c.percent[i]))
            continue;
        ++controlsRevision_;
        checkFieldValue(velmoktext::percentFieldName(static_cast<int>(i)), c.percent[i], PercentRange);
    }
    controls_ = c;
    editing_.applySettings(basicSettingsOf(c));
}

} // namespace velmo
