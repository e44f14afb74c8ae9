// korrel: the print program of velmok. It reads Print.conf, print_header.dat and
// print_Data.dat and prints the composite unit price table, one page per location.
//
//   korrel [FOLDER...]              print preview with printing and saving as PDF
//   korrel --pdf OUT.pdf [FOLDER...] the PDF only, without a window
//
// Without FOLDER the files are read from the working folder when it holds Print.conf (velmok
// starts korrel there), else from korrel's own folder. Several folders print one after another.
// Exit status: 0 done, 2 usage or file error (one line on stderr).
#include "korrel/ui/PrintRenderer.h"
#include "korrel/ui/TfPrintPreview.h"
#include "desktop/VelmoApplication.h"
#include "base/errors.h"
#include "base/program_homes.h"

#include <QDir>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr const char *Usage = "usage: korrel [FOLDER...]\n"
                              "       korrel --pdf OUT.pdf [FOLDER...]\n";

} // namespace

int main(int argc, char **argv)
{
    using namespace velmo;
    std::string pdf;
    std::vector<std::filesystem::path> folders;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (a == "--pdf") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "korrel: --pdf needs a file name\n%s", Usage);
                return 2;
            }
            pdf = argv[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "korrel: unknown option '%s'\n%s", a.c_str(), Usage);
            return 2;
        } else {
            folders.emplace_back(a);
        }
    }
    // Without a window no display is needed.
    if (!pdf.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    VelmoApplication app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("Velmaro"));
    std::vector<print::PrintSet> sets;
    try {
        // velmok starts korrel in its hand-off folder; started otherwise, the hand-off folder of
        // this user (beside the program, or the user's own when installed) is read.
        if (folders.empty())
            folders.push_back(print::defaultPrintFolder(
                std::filesystem::current_path(), homesOf(QCoreApplication::applicationDirPath().toStdString()).handoff));
        for (const auto &f : folders)
            sets.push_back(print::readPrintSet(f));
        if (print::paginate(sets).empty())
            throw IoError("印刷データ " + (folders.front() / handoff::DataFile).string() + " に印刷する行がありません");
        if (!pdf.empty()) {
            print::writePdf(pdf, print::paginate(sets), QString::fromStdString(print::jobTitle(sets)));
            return 0;
        }
    } catch (const std::exception &e) {
        if (!pdf.empty()) {
            std::fprintf(stderr, "korrel: %s\n", e.what());
            return 2;
        }
        showErrorBox(QString::fromStdString(e.what()));
        return 2;
    }
    print::TfPrintPreview window(sets);
    window.show();
    return app.exec();
}
