// korrel run as a program: --pdf writes the PDF of the hand-off files without a window.
#include "cp932.h"
#include "fileio.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sys/wait.h>

using velmo::test::TempDir;
namespace fs = std::filesystem;

namespace {

int run(const std::string &command)
{
    const int status = std::system((command + " 2>" + (fs::temp_directory_path() / "korrel-test.err").string()).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Pages of a PDF: the page objects of its page tree.
int pdfPages(const std::string &pdf)
{
    const std::regex page("/Type\\s*/Page[^s]");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

void writeSet(const fs::path &folder, int locations)
{
    using namespace velmo;
    fs::create_directories(folder);
    writeFileAtomically(folder / "Print.conf",
                        cp932::encode("[Version]=2.00\r\n[Application_Title]=Velmaro\r\n[Data_Title]=複合単価印刷\r\n"
                                      "[STYLE_FILE]=\r\n[Icon_File]=/x/Application.ico\r\n[File_Mask]=vmk\r\n"));
    writeFileAtomically(folder / "print_header.dat",
                        cp932::encode("[ta]=2025\r\n[tb]=令和07\r\n[tc]=01\r\n[td]=05\r\n[te]=日\r\n[tf]=\r\n[tg]=\r\n"
                                      "[th]=\r\n[ti]=20000(Level1)\r\n[tj]=18000\r\n"));
    std::string data;
    const char *names[] = {"屋内一般", "機械室", "屋外架空", "地中配管"};
    for (int l = 0; l < locations; ++l)
        for (int k = 1; k <= 14; ++k)
            data += std::string("鋼管;白;ねじ接合;") + names[l] +
                    ";15A;ｍ;2,800;1,000;1.1;0.3;0.05;0.2;0.05;0.1;0.05;1,100;300;50;200;1,000;100;55;2,805;\r\n";
    writeFileAtomically(folder / "print_Data.dat", cp932::encode(data));
}

} // namespace

TEST(Korrel, PdfHasOnePagePerLocationOfEveryFolder)
{
    TempDir dir;
    writeSet(dir.path / "a", 4);
    writeSet(dir.path / "b", 1);
    const fs::path out = dir.path / "table.pdf";
    ASSERT_EQ(run(std::string(VELMO_KORREL) + " --pdf " + out.string() + " " + (dir.path / "a").string()), 0);
    const std::string pdf = velmo::readWholeFile(out);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_EQ(pdfPages(pdf), 4);

    ASSERT_EQ(run(std::string(VELMO_KORREL) + " --pdf " + out.string() + " " + (dir.path / "a").string() + " " +
                  (dir.path / "b").string()),
              0);
    EXPECT_EQ(pdfPages(velmo::readWholeFile(out)), 5);
}

TEST(Korrel, MissingFilesEndWithStatusTwoAndLeaveNoPdf)
{
    TempDir dir;
    const fs::path out = dir.path / "table.pdf";
    EXPECT_EQ(run(std::string(VELMO_KORREL) + " --pdf " + out.string() + " " + dir.path.string()), 2);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run(std::string(VELMO_KORREL) + " --pdf"), 2);
    EXPECT_EQ(run(std::string(VELMO_KORREL) + " --bogus"), 2);
}
