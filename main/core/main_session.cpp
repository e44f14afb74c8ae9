#include "main_session.h"

#include "errors.h"
#include "fileio.h"
#include "ini_file.h"
#include "settings_file.h"
#include "support.h"

#include <algorithm>
#include <charconv>

namespace velmo {
namespace fs = std::filesystem;

const std::array<const char *, 6> PriceCodeEntries = {"有効桁1", "有効桁10", "有効桁100", "有効桁1000", "有効3桁", "有効4桁"};
const std::array<const char *, 3> FracAddendEntries = {"小数以下切り上げ", "小数以下切り捨て", "小数以下四捨五入"};
const std::array<const char *, 3> SigAddendEntries = {"有効桁以下切り上げ", "有効桁以下切り捨て", "有効桁以下四捨五入"};

namespace {

const std::array<const char *, ServiceCount> DefaultServiceNames = {"給水", "排水", "通気", "給湯", "消火",
                                                                     "冷温水", "冷却水", "蒸気", "油", "冷媒"};
const std::array<int64_t, 6> PriceCodes = {1, 10, 100, 1000, 3, 4};
const std::array<const char *, 3> Addends = {"0.9", "0", "0.5"};
const char *IniSection = "velmot_k";
const char *NetworkFolderFile = "ex_network_folder.dat";
const char *NetworkFolderKey = "[Folder_Name]";
const char *ServiceNamesFile = "velmo_p.conf";

std::string trimmed(const std::string &s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// A command-line field as a number in 1 … max, else the default 1.
int fieldNumber(const std::string &text, int max)
{
    int n = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || p != text.data() + text.size() || n < 1 || n > max)
        return 1;
    return n;
}

std::string serviceFileName(int service)
{
    return "kanzai" + std::to_string(service + 1) + ".fda";
}

// Status panel 6: the service file name with a leading separator.
std::string serviceFilePanel(int service)
{
    return std::string(1, fs::path::preferred_separator) + serviceFileName(service);
}

std::string withoutTrailingSeparator(std::string path)
{
    if (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

bool sameFolder(const fs::path &a, const fs::path &b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

} // namespace

Currency priceCodeValue(int index)
{
    return Currency::fromInt(PriceCodes[std::clamp(index, 0, 5)]);
}

Currency addendValue(int index)
{
    return Cur(Addends[std::clamp(index, 0, 2)]);
}

MainSession::MainSession(UserInterface &ui, fs::path programPath, std::string argument, Rect workArea)
    : ui_(ui), programPath_(std::move(programPath)), argument_(std::move(argument))
{
    programDir_ = programPath_.parent_path();
    treeTexts_.fill("----");
    for (auto &menu : pipeMenuCaptions_)
        menu.fill("----");
    for (int s = 0; s < ServiceCount; ++s) {
        serviceNames_[s] = DefaultServiceNames[s];
        treeTexts_[s * NodesPerService] = serviceNames_[s];
    }
    controls_.priceCodeIndex = controls_.fracAddendIndex = controls_.sigAddendIndex = 0;

    // Window position, pulled back into the work area axis by axis.
    const IniFile ini = IniFile::read(iniPath());
    Rect r;
    r.top = ini.intValue(IniSection, "Top", workArea.top);
    r.left = ini.intValue(IniSection, "Left", workArea.left);
    r.width = ini.intValue(IniSection, "Width", DesignSize.width);
    r.height = ini.intValue(IniSection, "Height", DesignSize.height);
    if (r.left > workArea.right() - 100 || r.left < workArea.left)
        r.left = workArea.left;
    if (r.top < workArea.top || r.top > workArea.bottom() - 100)
        r.top = workArea.top;
    windowRect_ = r;

    // The edition comes from the program file's name ("net_velmok", with or without ".exe").
    std::string name = programPath_.filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0)
        name.resize(name.size() - 4);
    edition_ = name == "net_velmok" ? Edition::Network : Edition::StandAlone;

    setDataFolder(programDir_ / "ex_data");
    prepareDataFolder();
    if (edition_ == Edition::Network)
        readNetworkFolder();
}

fs::path MainSession::iniPath() const
{
    fs::path p = programPath_;
    p.replace_extension(".ini");
    return p;
}

fs::path MainSession::currentFilePath() const
{
    return dataFolder_ / serviceFileName(service_);
}

void MainSession::setDataFolder(const fs::path &folder)
{
    dataFolder_ = folder;
    status_[5] = folder.string();
}

void MainSession::Failures::add(const fs::path &file, const std::string &message)
{
    for (auto &[f, m] : messages)
        if (!file.empty() && f == file) {
            m = message;
            return;
        }
    messages.emplace_back(file, message);
}

void MainSession::Failures::raise() const
{
    if (messages.empty())
        return;
    std::string all;
    for (const auto &[file, m] : messages)
        all += (all.empty() ? "" : "\n") + m;
    throw IoError(all);
}

void MainSession::prepareDataFolder()
{
    const fs::path data = programDir_ / "ex_data";
    std::error_code ec;
    const fs::file_status st = fs::status(data, ec);
    if (fs::exists(st) && !fs::is_directory(st))
        throw IoError("データフォルダー " + data.string() + " を作れません: 同じ名前のファイルがあります");
    if (!fs::is_directory(st)) {
        fs::create_directories(data, ec);
        if (ec)
            throw IoError("データフォルダー " + data.string() + " を作れません: " + systemErrorText(ec.value()));
    }
    if (fs::exists(data / "haikan1.fda", ec))
        return;
    for (int n = 0; n < ServiceCount; ++n) {
        const fs::path target = data / serviceFileName(n);
        const fs::path tmpl = programDir_ / "kanzai" / ("haikan" + std::to_string(n + 1) + ".fda");
        if (fs::exists(target, ec) || !fs::exists(tmpl, ec))
            continue;
        // Copy through a temporary name so that an interrupted copy never leaves a short file.
        const fs::path part = data / ("." + serviceFileName(n) + ".copy");
        fs::copy_file(tmpl, part, fs::copy_options::overwrite_existing, ec);
        if (!ec)
            fs::rename(part, target, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove(part, ignored);
            throw IoError("ファイル " + tmpl.string() + " を " + target.string() + " にコピーできません: " +
                          systemErrorText(ec.value()));
        }
    }
}

void MainSession::readNetworkFolder()
{
    std::string folder;
    if (auto f = SettingsFile::read(programDir_ / NetworkFolderFile))
        if (auto v = f->value(NetworkFolderKey))
            folder = *v;
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        folder = (programDir_ / "ex_data").string();
    setDataFolder(folder);
}

void MainSession::start()
{
    Failures failures;
    adoptNames(readNames(dataFolder(), failures));
    table_.clear();
    undo_.clear();
    std::error_code ec;
    fs::remove(programDir_ / "NEWData.FDA", ec);

    const int g = fieldNumber(SplitField(argument_, 1), ServiceCount);
    const int p = fieldNumber(SplitField(argument_, 2), PipesPerFile);
    service_ = g - 1;
    status_[6] = serviceFilePanel(service_);
    pipe_ = p - 1;
    selectPipeNode();
    focusRow_ = 1;
    try {
        file_.load(currentFilePath());
        serviceLoaded_ = true;
    } catch (const IoError &e) {
        // Nothing of this service is in memory: no pipe is shown and nothing can be saved.
        failures.add(currentFilePath(), e.what());
    }
    modified_ = false;
    try {
        loadPipe(p - 1);
    } catch (const VelmoError &e) {
        failures.add({}, e.what()); // a figure of the pipe out of range: the rest of the start stands
    }
    failures.raise();
}

MainSession::TreeNames MainSession::readNames(const fs::path &folder, Failures &failures) const
{
    TreeNames n{serviceNames_, treeTexts_, pipeMenuCaptions_};
    const auto conf = SettingsFile::read(folder / ServiceNamesFile);
    for (int s = 0; s < ServiceCount; ++s) {
        n.serviceNames[s] = DefaultServiceNames[s];
        if (conf)
            if (auto v = conf->value("[GROUP_NAME" + std::to_string(s + 1) + "]"))
                n.serviceNames[s] = *v;
        n.treeTexts[s * NodesPerService] = n.serviceNames[s];
    }
    std::error_code ec;
    for (int s = 0; s < ServiceCount; ++s) {
        const fs::path path = folder / serviceFileName(s);
        if (!fs::exists(path, ec))
            continue; // a missing file leaves the service's nodes as they were
        std::vector<std::string> names;
        try {
            names = listPipeNames(path);
        } catch (const IoError &e) {
            // The names of a file that cannot be read are not known: its pipes show as unnamed.
            failures.add(path, e.what());
            names.assign(PipesPerFile, "");
        }
        for (int p = 0; p < PipesPerFile; ++p) {
            const std::string t = trimmed(names[p]);
            n.treeTexts[s * NodesPerService + p + 1] = n.pipeMenuCaptions[s][p] = t.empty() ? "----" : t;
        }
    }
    return n;
}

void MainSession::adoptNames(TreeNames names)
{
    serviceNames_ = std::move(names.serviceNames);
    treeTexts_ = std::move(names.treeTexts);
    pipeMenuCaptions_ = std::move(names.pipeMenuCaptions);
}

void MainSession::writeServiceNames() const
{
    SettingsFile f;
    for (int s = 0; s < ServiceCount; ++s)
        f.set("[GROUP_NAME" + std::to_string(s + 1) + "]", serviceNames_[s]);
    f.write(dataFolder_ / ServiceNamesFile);
}

bool MainSession::askToSave()
{
    if (!modified_)
        return false;
    const std::string path = currentFilePath().string();
    const bool save = ui_.confirm(std::string(SaveQuestion) + "\n" + path, "実行", "キャンセル") == ResultYes;
    if (save)
        writeCurrentFile();
    modified_ = false;
    return save;
}

void MainSession::writeCurrentFile()
{
    requireServiceLoaded();
    file_.save(currentFilePath());
    modified_ = false;
}

void MainSession::requireServiceLoaded() const
{
    if (!serviceLoaded_)
        throw IoError("ファイル " + currentFilePath().string() + " は読み込めなかったため、保存しません。");
}

void MainSession::switchService(int service)
{
    if (service == service_ && serviceLoaded_)
        return;
    // The new file is read whole before anything changes: a file that cannot be read leaves
    // the current service, its data and its edits as they are.
    ServiceFile next;
    next.load(dataFolder() / serviceFileName(service));
    if (service != service_)
        askToSave();
    file_ = std::move(next);
    serviceLoaded_ = true;
    status_[6] = serviceFilePanel(service);
    service_ = service;
    pipe_ = 0;
}

void MainSession::loadPipe(int pipe)
{
    if (!serviceLoaded_)
        return;
    pipe_ = pipe;
    PriceRecord *block = file_.pipeBlock(pipe);
    table_.load(block);
    loadSettingsIntoControls();
    location_ = 0;
    undoEnabled_ = false;
    pipeLoaded_ = true;
    updateStatus();
    table_.recalculateAll(block);
}

void MainSession::loadSettingsIntoControls()
{
    const BasicSettings s = table_.basicSettings();
    for (int i = 0; i < 6; ++i)
        if (s.priceCode == Currency::fromInt(PriceCodes[i]))
            controls_.priceCodeIndex = i;
    if (s.priceCode.isZero())
        controls_.priceCodeIndex = 0;
    for (int i = 0; i < 3; ++i) {
        if (s.priceFracAddend == addendValue(i))
            controls_.fracAddendIndex = i;
        if (s.priceSigAddend == addendValue(i))
            controls_.sigAddendIndex = i;
    }
    const Currency flag = table_.settings().D(4);
    if (flag == Currency::fromInt(1) || flag.isZero())
        controls_.useRates = flag == Currency::fromInt(1);
    controls_.percent = s.percent;
    controls_.labour = s.labour;
    ++controlsRevision_;
}

void MainSession::updateStatus()
{
    const WorkingTable &t = table_;
    status_[0] = t.row(1).rec.name.text();
    status_[1] = t.row(2).rec.name.text();
    status_[2] = t.row(3).rec.name.text();
    const auto tabs = tabCaptions();
    status_[3] = location_ < static_cast<int>(tabs.size()) ? tabs[location_] : "";
    status_[4] = t.settings().size.text();
}

void MainSession::selectPipeNode()
{
    selectedNode_ = service_ * NodesPerService + pipe_ + 1;
}

std::vector<std::string> MainSession::tabCaptions() const
{
    if (!pipeLoaded_)
        return {};
    if (refrigerant())
        return {"一般"};
    std::vector<std::string> tabs;
    for (int loc = 0; loc < LocationsPerPipe; ++loc)
        tabs.push_back(table_.row((loc + 1) * RowsPerLocation).rec.caption.text());
    return tabs;
}

std::string MainSession::headingStrip() const
{
    return status_[0] + ":" + status_[3] + "    " + status_[1] + " " + status_[2];
}

std::string MainSession::copyLocationCaption() const
{
    std::array<std::string, LocationsPerPipe> n;
    for (int loc = 0; loc < LocationsPerPipe; ++loc)
        n[loc] = table_.row((loc + 1) * RowsPerLocation).rec.caption.text();
    return n[0] + "のデータを" + n[1] + "・" + n[2] + "・" + n[3] + "へコピ－";
}

// ---- grids ----

const BasisResult &MainSession::basisResult(int a, int col) const
{
    return table_.row(a).result(basisAt(col));
}

std::string MainSession::rateGridText(int col, int row) const
{
    if (row == 0) {
        static const std::array<const char *, RateCols> normal = {
            "No", "採用単価", "複合単価", "提出単価", "管", "継 手 類", "接 合 材", "支持金物", "配 管 工", "はつり補修", "その他"};
        if (refrigerant()) {
            switch (col) {
            case 5: return "継手接合等";
            case 6: return "支持金物";
            case 7: return "雑 材 料";
            case 9: return "---";
            }
        }
        return normal[col];
    }
    if (!pipeLoaded_)
        return "";
    const int a = workingRowOf(row);
    const WorkingRow &w = table_.row(a);
    if (col == 0)
        return w.rec.size.text();
    const BasisResult &r = basisResult(a, basisColumn_);
    switch (col) {
    case 1: return FormatMoney(basisColumn_ == 6 ? r.total : r.adopted);
    case 2: return FormatMoney(r.total);
    case 3: {
        const int slot = basisColumn_ <= 5 ? basisColumn_ : (basisColumn_ == 6 ? 0 : 6);
        return FormatMoney(w.rec.A(slot));
    }
    default:
        if (col == 9 && refrigerant())
            return "";
        return rateShowsResults_ ? FormatMoney(r.K[col - 4]) : w.rec.B(col - 3).toString();
    }
}

std::string MainSession::priceGridText(int col, int row) const
{
    static const std::array<const char *, PriceCols> headings = {"No", "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4",
                                                                 "LEVEL5", "原　価", "定　価"};
    if (row == 0)
        return headings[col];
    if (!pipeLoaded_)
        return "";
    const PriceRecord &r = table_.row(row).rec; // location 0 carries the prices
    if (col == 0)
        return r.size.text();
    return FormatMoney(r.A(col <= 5 ? col : (col == 6 ? 0 : 6)));
}

std::string MainSession::compositeGridText(int col, int row) const
{
    if (row == 0)
        return priceGridText(col, 0);
    if (!pipeLoaded_)
        return "";
    const int a = workingRowOf(row);
    if (col == 0)
        return table_.row(a).rec.size.text();
    const BasisResult &r = basisResult(a, col);
    return FormatMoney(compositeShowsAdopted_ && col != 6 ? r.adopted : r.total);
}

// ---- commands ----

void MainSession::treeClick(int node)
{
    if (node < 0 || node >= TreeNodeCount)
        return;
    const int s = node / NodesPerService;
    const int p = node % NodesPerService == 0 ? 0 : node % NodesPerService - 1;
    switchService(s);
    loadPipe(p);
    selectedNode_ = node;
}

void MainSession::treeRename(int node)
{
    if (node < 0 || node >= TreeNodeCount)
        return;
    const auto text = ui_.askText(Title, "名称を入力してください", treeTexts_[node]);
    if (!text)
        return;
    treeTexts_[node] = *text;
    if (node % NodesPerService == 0)
        serviceNames_[node / NodesPerService] = *text;
    writeServiceNames();
}

void MainSession::renameService(int service)
{
    const auto text = ui_.askText(Title, "グル－プ名を入力してください", serviceNames_[service]);
    if (!text)
        return;
    serviceNames_[service] = *text;
    treeTexts_[service * NodesPerService] = *text;
    writeServiceNames();
}

void MainSession::menuServiceOpened(int service)
{
    menuService_ = service;
}

void MainSession::menuPipeChosen(int pipe)
{
    switchService(menuService_);
    loadPipe(pipe);
    selectPipeNode();
}

void MainSession::recalculateLocation()
{
    PriceRecord *block = file_.pipeBlock(pipe_);
    for (int k = 1; k <= SizeRowsPerLocation; ++k)
        table_.calculateRow(workingRow(location_, k), block);
}

void MainSession::locationTabChanged(int tab)
{
    if (tab < 0 || tab >= static_cast<int>(tabCaptions().size()))
        return;
    location_ = tab;
    updateStatus();
    recalculateLocation();
}

void MainSession::basisCellClicked(int col, int row)
{
    if (!pipeLoaded_) {
        ui_.notice(NoPipeNotice, "確認");
        return;
    }
    if (col >= 1 && col <= 7)
        basisColumn_ = col;
    if (row >= 1 && row < GridRows)
        focusRow_ = row;
}

void MainSession::basisMenu(int col)
{
    basisColumn_ = col;
    focusRow_ = 1;
}

void MainSession::showFactors()
{
    rateShowsResults_ = false;
}

void MainSession::showResults()
{
    rateShowsResults_ = true;
    recalculateLocation();
}

void MainSession::showComposites(bool adopted)
{
    compositeShowsAdopted_ = adopted;
}

void MainSession::applySettings(const SettingsControls &c)
{
    if (!pipeLoaded_) {
        ui_.notice(NoPipeNotice, "確認");
        return;
    }
    undo_ = table_;
    undoEnabled_ = true;
    controls_ = c;
    BasicSettings s;
    s.priceCode = priceCodeValue(c.priceCodeIndex);
    s.priceFracAddend = addendValue(c.fracAddendIndex);
    s.priceSigAddend = addendValue(c.sigAddendIndex);
    s.useRates = c.useRates;
    s.percent = c.percent;
    s.labour = c.labour;
    table_.applyBasicSettings(s, file_.pipeBlock(pipe_));
    modified_ = true;
}

void MainSession::save()
{
    writeCurrentFile();
    ui_.notice(std::string(SavedNotice) + "\n" + currentFilePath().string(), "確認");
}

void MainSession::quickSave()
{
    writeCurrentFile();
}

void MainSession::loadFromFolder(bool rememberFolder)
{
    const bool wasModified = modified_;
    const bool saved = askToSave();
    const auto chosen = ui_.chooseFolder(FolderDialogTitle);
    if (!chosen)
        return;
    const fs::path folder = withoutTrailingSeparator(*chosen);
    // The folder is adopted only once the current service's file there was read whole.
    Failures failures;
    TreeNames names = readNames(folder, failures);
    ServiceFile next;
    try {
        next.load(folder / serviceFileName(service_));
    } catch (const IoError &) {
        if (!saved)
            modified_ = wasModified; // the edits of the old folder are still what is shown
        throw;
    }
    setDataFolder(folder);
    adoptNames(std::move(names));
    file_ = std::move(next);
    serviceLoaded_ = true;
    modified_ = false;
    loadPipe(0);
    selectPipeNode();
    if (rememberFolder) {
        SettingsFile f;
        f.set(NetworkFolderKey, folder.string());
        f.write(programDir_ / NetworkFolderFile);
    }
    failures.raise();
}

void MainSession::saveToFolder()
{
    requireServiceLoaded();
    const auto chosen = ui_.chooseFolder(FolderDialogTitle);
    if (!chosen)
        return;
    const fs::path folder = withoutTrailingSeparator(*chosen);
    const fs::path old = dataFolder();
    file_.save(folder / serviceFileName(service_));
    std::string notCopied;
    if (!sameFolder(folder, old)) {
        for (int s = 0; s < ServiceCount; ++s) {
            if (s == service_)
                continue;
            std::error_code ec;
            const fs::path from = old / serviceFileName(s);
            if (!fs::exists(from, ec))
                continue; // a service without a file is skipped
            try {
                writeFileAtomically(folder / serviceFileName(s), readWholeFile(from));
            } catch (const IoError &e) {
                notCopied += std::string("\n") + e.what();
            }
        }
    }
    setDataFolder(folder);
    modified_ = false;
    std::string message = std::string(SavedNotice) + "\n" + currentFilePath().string();
    if (!notCopied.empty())
        message += "\n\n次のファイルはコピーできませんでした:" + notCopied;
    ui_.notice(message, "確認");
}

void MainSession::close(Rect windowRect)
{
    // A failed save of the price file stops the close, so no edit is lost.
    askToSave();
    // The names, the layout and the position are written in every case; one that cannot be
    // written is reported and the program still closes.
    auto attempt = [this](const std::function<void()> &write) {
        try {
            write();
        } catch (const std::exception &e) {
            ui_.notice(e.what(), "確認");
        } catch (...) {
            ui_.notice("不明なエラーが発生しました。", "確認");
        }
    };
    attempt([this] { writeServiceNames(); });
    if (writeLayout)
        attempt(writeLayout);
    attempt([this, windowRect] {
        IniFile ini = IniFile::read(iniPath());
        ini.set(IniSection, "Top", std::to_string(windowRect.top));
        ini.set(IniSection, "Left", std::to_string(windowRect.left));
        ini.set(IniSection, "Width", std::to_string(windowRect.width));
        ini.set(IniSection, "Height", std::to_string(windowRect.height));
        ini.write(iniPath());
    });
    windowRect_ = windowRect;
}

} // namespace velmo
