// A service file filled to the brim: every record used, every text at its full length, every
// number at the edge of the Currency range. velmok opens it, calculates what can be calculated,
// reports what cannot as a range error, and saves it without a wrapped number.
#include "base/errors.h"
#include "tests/common/extreme_file.h"
#include "base/fileio.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::ProgramFolder;
namespace fs = std::filesystem;

TEST(ExtremeFile, OpensCalculatesReportsRangeErrorsAndSavesWithoutAWrappedNumber)
{
    ProgramFolder pf;
    pf.start();
    const fs::path file = pf.data() / "kanzai1.fda";
    velmo::test::extremeServiceFile().save(file);
    const ServiceFile before = [&] {
        ServiceFile f;
        f.load(file);
        return f;
    }();

    MainSession s(pf.ui, pf.program, "");
    try {
        s.start();
        ADD_FAILURE() << "no range error";
    } catch (const VelmoError &e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("範囲"), std::string::npos) << m;
        EXPECT_NE(m.find("管材「"), std::string::npos) << m; // the pipe is named
    }
    EXPECT_TRUE(s.serviceLoaded());
    // Every pipe opens; those whose figures leave the range say so.
    int refused = 0;
    for (int p = 0; p < PipesPerFile; ++p) {
        try {
            s.treeClick(p + 1);
        } catch (const RangeError &) {
            ++refused;
        }
        EXPECT_EQ(s.position().pipe, p);
    }
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, PipesPerFile); // the pipes with tiny factors calculate
    s.quickSave();

    ServiceFile after;
    after.load(file);
    for (int r = 0; r < RecordsPerFile; ++r) {
        const PriceRecord &a = after.record(r), &b = before.record(r);
        ASSERT_EQ(a.name, b.name) << r;
        ASSERT_EQ(a.caption, b.caption) << r;
        ASSERT_EQ(a.size, b.size) << r;
        ASSERT_EQ(a.unit, b.unit) << r;
        ASSERT_EQ(a.reserved0, b.reserved0) << r;
        ASSERT_EQ(a.rowTag, b.rowTag) << r;
        for (int i = 1; i <= 7; ++i)
            ASSERT_EQ(a.B(i), b.B(i)) << r;
        if (r % RecordsPerPipe < SizeRowsPerLocation && (r / RecordsPerPipe) % 4 != 1) { // entered, not derived
            for (int i = 0; i <= 6; ++i)
                ASSERT_EQ(a.A(i), b.A(i)) << r;
        }
    }
    // The pipes with tiny factors were calculated: their composites are the sums of figures
    // that fit, positive from positive prices (a wrapped sum would not be).
    for (int p = 3; p < PipesPerFile; p += 4) {
        const PriceRecord &row = after.pipeBlock(p)[0];
        EXPECT_GT(row.C(1).raw(), 0) << p;
        EXPECT_NE(row.C(1), before.pipeBlock(p)[0].C(1)) << p;
    }
}
