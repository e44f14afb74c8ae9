// The small commands around the main work: the manual, two desktop tools, the install folder,
// the memory, the screen resolution, the release and the version.
#include "base/shared_texts.h"
#include "velmok/session/information_commands.h"

#include "velmok/core/velmok_texts.h"

#include "base/programs.h"
#include "base/support.h"

namespace velmo {
namespace fs = std::filesystem;

namespace {

// The manual shipped beside the program (built from data/manual/).
const char *ManualFileName = "quorvane.html";

// The desktop's own programs that stand in for Notepad and the calculator, most common first.
const std::vector<std::string> TextEditors{"gnome-text-editor", "gedit", "mousepad", "kate", "kwrite",
                                           "pluma", "xed", "featherpad", "leafpad"};
const std::vector<std::string> Calculators{"gnome-calculator", "galculator", "kcalc", "qalculate-gtk",
                                           "mate-calc", "xcalc"};

// Starts the first of `names` found beside the program or on PATH that starts; the program's
// folder is the working folder. Says so when none could be started.
void startFirstOf(UserInterface &ui, const fs::path &programDir, const std::string &what,
                  const std::vector<std::string> &names)
{
    std::string tried;
    for (const std::string &name : names) {
        if (const auto found = findProgram(name, programDir))
            if (ui.startProgram(found->string(), {}, programDir.string()))
                return;
        tried += (tried.empty() ? "" : velmoktext::ListSeparator) + name;
    }
    ui.notice(velmoktext::notStartedText(what, tried), sharedtext::NoticeButton);
}

} // namespace

void InformationCommands::openHelp()
{
    const fs::path manual = homes_.program / ManualFileName;
    std::error_code ec;
    if (!fs::is_regular_file(manual, ec)) {
        ui_.notice(velmoktext::manualMissingText(manual.string()), sharedtext::NoticeButton);
        return;
    }
    if (!ui_.openAddress(manual.string()))
        ui_.notice(velmoktext::manualNotOpenedText(manual.string()), sharedtext::NoticeButton);
}

void InformationCommands::showInstallFolder()
{
    const std::string program = LongPathName(homes_.program.string());
    ui_.notice(homes_.installed ? velmoktext::installedFoldersText(program, homes_.data.string(), homes_.settings.string())
                                : velmoktext::installFolderText(program),
               sharedtext::NoticeButton);
}

void InformationCommands::startNotepad(bool shiftHeld)
{
    if (shiftHeld) {
        notepadShortcut_ = "Ctrl+M";
        return;
    }
    std::vector<std::string> names{"notepad.exe"};
    names.insert(names.end(), TextEditors.begin(), TextEditors.end());
    startFirstOf(ui_, homes_.program, velmoktext::NotepadName, names);
}

void InformationCommands::startCalculator()
{
    std::vector<std::string> names{"Calc.exe"};
    names.insert(names.end(), Calculators.begin(), Calculators.end());
    startFirstOf(ui_, homes_.program, velmoktext::CalculatorName, names);
}

void InformationCommands::showMemory()
{
    // The sizes in full: today's memory no longer fits the 32-bit numbers the message once had.
    const MemoryStatus m = ui_.memoryStatus();
    ui_.notice(velmoktext::memoryText(m.available, m.total), sharedtext::NoticeButton);
}

void InformationCommands::showScreenResolution()
{
    const Rect s = ui_.screen();
    ui_.notice(velmoktext::screenResolutionText(s.width, s.height), sharedtext::NoticeButton);
}

void InformationCommands::showRelease()
{
    ui_.notice(velmoktext::ReleaseText, sharedtext::NoticeButton);
}

void InformationCommands::showVersion()
{
    ui_.notice(velmoktext::VersionText, sharedtext::NoticeButton);
}

} // namespace velmo
