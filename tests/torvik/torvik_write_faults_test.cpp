// torvik's block saves and moves under every planned write fault: the price file stays byte
// for byte, the error names it and the cause in Japanese, and unsaved edits stay marked.
#include "tests/torvik/torvik_fixture.h"
#include "tests/common/write_faults.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(TorvikWriteFaults, EverySaveAndMoveLeavesTheFileUnderEveryFault)
{
    int cells = 0;
    for (const PlannedFault &fault : PlannedFaults) {
        for (const char *command : {"登録", "閉じる前の保存", "移動"}) {
            SCOPED_TRACE(std::string(command) + " / errno " + std::to_string(fault.error));
            TorvikFixture f;
            TorvikSession &s = f.open("1;3;" + f.data().string() + ";");
            f.type(1, 1, "4321");
            const std::string before = readWholeFile(f.data());
            std::string message;
            const std::string cmd = command;
            if (cmd == "登録") {
                FaultScope scope(fault);
                message = ioErrorMessage([&] { s.registerBlock(); });
                EXPECT_TRUE(s.modified());
            } else if (cmd == "閉じる前の保存") {
                f.ui.answers.push_back(Answer::Yes);
                FaultScope scope(fault);
                message = ioErrorMessage([&] { s.closeQuery(); });
                EXPECT_TRUE(s.modified());
            } else {
                f.ui.answers.push_back(Answer::No); // the edit is not saved first
                s.beginChooseBlock();
                FaultScope scope(fault);
                message = ioErrorMessage([&] { s.moveBlock(3, MoveDirection::Up); });
                EXPECT_EQ(s.blockIndex(), 3);
            }
            EXPECT_NE(message.find(f.data().string()), std::string::npos) << message;
            EXPECT_NE(message.find(fault.cause), std::string::npos) << message;
            EXPECT_EQ(readWholeFile(f.data()), before);
            ++cells;
        }
    }
    EXPECT_EQ(cells, 3 * static_cast<int>(std::size(PlannedFaults)));
}
