#include "pricework/price_list_output.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/programs.h"
#include "base/scratch_folder.h"
#include "pricework/table_file.h"

#include <cstdio>

namespace velmo::handoff {

namespace fs = std::filesystem;

namespace {

// A text field of a data line: its ";" would end the field, so it becomes the full-width "；".
std::string field(const std::string &text)
{
    std::string s = text;
    for (size_t p; (p = s.find(DataSeparator)) != std::string::npos;)
        s.replace(p, 1, "；");
    return s;
}

} // namespace

std::string dataLineBytes(const Row &row)
{
    std::string line;
    for (const std::string &f : row)
        line += field(f) + DataSeparator;
    return cp932::encode(line) + "\r\n";
}

namespace {

// "01", "02" … in the order of the list.
std::string folderName(size_t i)
{
    const std::string n = std::to_string(i + 1);
    return n.size() < 2 ? "0" + n : n;
}

void makeFolder(const fs::path &folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw IoError(folder.string() + ": " + systemErrorText(ec.value()));
}

} // namespace

Conf priceListConf(const PriceList &list, const std::string &applicationTitle, const fs::path &folder)
{
    if (list.columns.size() > static_cast<size_t>(PriceListMaxColumns))
        throw RangeError(sharedtext::tooManyPriceColumnsText(list.columns.size(), PriceListMaxColumns));
    Conf conf;
    conf.applicationTitle = applicationTitle;
    conf.dataTitle = list.title;
    conf.iconFile = (folder / "Application.ico").string();
    for (const PriceListColumn &c : list.columns) {
        conf.columns.push_back(c.heading);
        conf.columnGroups.push_back(c.group);
    }
    return conf;
}

std::string priceListDataBytes(const PriceList &list, const PriceListBlock &block)
{
    Row base;
    for (size_t i = 0; i < 3 && i < block.names.size(); ++i)
        base[i] = block.names[i];
    base[UnitField] = block.unit;
    if (block.rows.empty())
        return dataLineBytes(base);
    std::string bytes;
    for (const PriceListRow &r : block.rows) {
        Row row = base;
        row[SizeField] = r.size;
        for (size_t c = 0; c < list.columns.size() && c < r.prices.size(); ++c)
            row[PriceListFirstPrice + c] = priceText(list.columns[c], r.prices[c]);
        bytes += dataLineBytes(row);
    }
    return bytes;
}

std::vector<fs::path> writePriceListHandoff(const fs::path &folder, const PriceList &list,
                                            const std::string &applicationTitle)
{
    std::error_code ec;
    fs::remove_all(folder, ec);
    makeFolder(folder);
    std::vector<fs::path> folders;
    for (size_t i = 0; i < list.blocks.size(); ++i) {
        const fs::path f = folder / folderName(i);
        makeFolder(f);
        Header header;
        header.memo = list.blocks[i].memo;
        writeFiles(f, priceListConf(list, applicationTitle, f), header, priceListDataBytes(list, list.blocks[i]));
        folders.push_back(f);
    }
    return folders;
}

void writeHandoffPdf(const std::function<std::vector<fs::path>(const fs::path &)> &write, const fs::path &out,
                     const fs::path &programFolder)
{
    const auto program = findProgram(PrintProgram, programFolder);
    if (!program)
        throw IoError(sharedtext::pdfNotMadeText(out, sharedtext::printProgramNotFoundText(PrintProgram)));
    const ScratchFolder scratch(sharedtext::PdfTask);
    std::vector<std::string> args{"--pdf", fs::absolute(out).string()};
    try {
        for (const fs::path &f : write(scratch.path()))
            args.push_back(f.string());
    } catch (const IoError &e) {
        throw IoError(sharedtext::pdfNotMadeText(out, sharedtext::printDataNotWrittenText(std::string(errorCause(e)))));
    }
    std::string said;
    const int status = runProgramAndWait(*program, args, &said);
    if (status != 0)
        throw IoError(sharedtext::printProgramFailedText(*program, status, out, said));
}

void writePriceListPdf(const PriceList &list, const std::string &applicationTitle, const fs::path &out,
                       const fs::path &programFolder)
{
    writeHandoffPdf([&](const fs::path &scratch) { return writePriceListHandoff(scratch / "list", list, applicationTitle); },
                    out, programFolder);
}

bool isPriceListCommand(const std::string &command)
{
    return command == "csv" || command == "xlsx" || command == "pdf";
}

bool priceListCommandTakesOut(const std::string &command) { return command == "xlsx" || command == "pdf"; }

fs::path runningProgramFolder()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self.parent_path();
}

void runPriceListCommand(const std::string &command, const PriceList &list, const fs::path &file, const fs::path &out,
                         const fs::path &programFolder)
{
    if (list.blocks.empty())
        throw IoError(sharedtext::noNamedBlockText(file));
    if (command == "csv") {
        const std::string bytes = priceListCsvBytes(list);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    } else if (command == "xlsx") {
        writeFileAtomically(out, priceListXlsxBytes(list, out));
    } else {
        writePriceListPdf(list, sharedtext::InputCaption, out, programFolder);
    }
}

std::optional<PriceListScope> askPriceListScope(UserInterface &ui)
{
    switch (ui.confirmOrBack(sharedtext::PriceListScopeQuestion, sharedtext::PriceListCurrentButton,
                             sharedtext::PriceListAllButton, sharedtext::CancelButton)) {
    case Answer::Yes:
        return PriceListScope::Current;
    case Answer::No:
        return PriceListScope::AllNamed;
    default:
        return std::nullopt;
    }
}

void printPriceList(UserInterface &ui, const PriceList &list, const std::string &applicationTitle,
                    const ProgramHomes &homes)
{
    const fs::path folder = homes.handoff / "price_list";
    const std::vector<fs::path> folders = writePriceListHandoff(folder, list, applicationTitle);
    const auto program = findProgram(PrintProgram, homes.program);
    if (!program) {
        ui.notice(sharedtext::printProgramMissingText(PrintProgram, folder), sharedtext::NoticeButton);
        return;
    }
    std::vector<std::string> args;
    for (const fs::path &f : folders)
        args.push_back(f.string());
    if (!ui.startProgram(program->string(), args, homes.handoff.string()))
        ui.notice(sharedtext::printProgramNotStartedText(program->string()), sharedtext::NoticeButton);
}

std::string priceListCsvBytes(const PriceList &list) { return tableCsvBytes(priceListTable(list)); }

std::string priceListXlsxBytes(const PriceList &list, const fs::path &target)
{
    return tableXlsxBytes(priceListSheets(list), target);
}

namespace {

// The name the save dialogs suggest: the list's title, and the block's name when it holds one.
std::string priceListFileName(const PriceList &list, const std::string &suffix)
{
    const bool oneBlock = list.blocks.size() == 1 && !list.blocks.front().names.empty();
    return suggestedFileName({list.title, oneBlock ? list.blocks.front().names.front() : std::string()}, suffix);
}

} // namespace

void exportPriceListCsv(UserInterface &ui, const PriceList &list)
{
    const auto path = ui.chooseSaveFile("*.csv", "csv", priceListFileName(list, "csv"));
    if (!path)
        return;
    writeFileAtomically(*path, priceListCsvBytes(list));
    ui.notice(sharedtext::priceListWrittenText(*path), sharedtext::NoticeButton);
}

void exportPriceListXlsx(UserInterface &ui, const PriceList &list)
{
    const auto path = ui.chooseSaveFile("*.xlsx", "xlsx", priceListFileName(list, "xlsx"));
    if (!path)
        return;
    writeFileAtomically(*path, priceListXlsxBytes(list, *path));
    ui.notice(sharedtext::priceListWrittenText(*path), sharedtext::NoticeButton);
}

} // namespace velmo::handoff
