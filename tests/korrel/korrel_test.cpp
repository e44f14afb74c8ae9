// korrel run as a program: --pdf writes the PDF of the hand-off files without a window.
#include "base/cp932.h"
#include "base/fileio.h"
#include "tests/common/handoff_sample.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using velmo::test::pdfPageCount;
using velmo::test::TempDir;
using velmo::test::writeHandoffSet;
namespace fs = std::filesystem;

namespace {

int run(const std::string &command)
{
    const int status = std::system((command + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(Korrel, PdfHasOnePagePerLocationOfEveryFolder)
{
    TempDir dir;
    writeHandoffSet(dir.path / "a", {"屋内一般", "機械室", "屋外架空", "地中配管"});
    writeHandoffSet(dir.path / "b", {"一般"}, true);
    const fs::path out = dir.path / "table.pdf";
    ASSERT_EQ(run(std::string(VELMO_KORREL) + " --pdf " + out.string() + " " + (dir.path / "a").string()), 0);
    const std::string pdf = velmo::readWholeFile(out);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_EQ(pdfPageCount(pdf), 4);

    ASSERT_EQ(run(std::string(VELMO_KORREL) + " --pdf " + out.string() + " " + (dir.path / "a").string() + " " +
                  (dir.path / "b").string()),
              0);
    EXPECT_EQ(pdfPageCount(velmo::readWholeFile(out)), 5);
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
