// selvan's block saves and moves under every planned write fault: the equipment file stays
// byte for byte, the error names it and the cause in Japanese, and unsaved edits stay marked.
#include "tests/selvan/selvan_folder.h"
#include "tests/common/write_faults.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(SelvanWriteFaults, EverySaveAndMoveLeavesTheFileUnderEveryFault)
{
    int cells = 0;
    for (const PlannedFault &fault : PlannedFaults) {
        for (const char *command : {"登録", "閉じる前の保存", "移動"}) {
            SCOPED_TRACE(std::string(command) + " / errno " + std::to_string(fault.error));
            SelvanFolder f;
            auto s = f.start();
            const fs::path file = f.defaultFile();
            typeCell(*s, 2, 1, "2345");
            const std::string before = readWholeFile(file);
            std::string message;
            const std::string cmd = command;
            if (cmd == "登録") {
                FaultScope scope(fault);
                message = ioErrorMessage([&] { s->registerClicked(); });
                EXPECT_TRUE(s->modified());
            } else if (cmd == "閉じる前の保存") {
                f.ui.answers.push_back(Answer::Yes);
                FaultScope scope(fault);
                message = ioErrorMessage([&] { s->closeWindow(); });
                EXPECT_TRUE(s->modified());
            } else {
                f.ui.answers.push_back(Answer::No);
                s->beginChoosing();
                FaultScope scope(fault);
                message = ioErrorMessage([&] { s->moveBlock(4, MoveDirection::Down); });
                EXPECT_EQ(s->blockIndex(), 0);
            }
            EXPECT_NE(message.find(file.string()), std::string::npos) << message;
            EXPECT_NE(message.find(fault.cause), std::string::npos) << message;
            EXPECT_EQ(readWholeFile(file), before);
            ++cells;
        }
    }
    EXPECT_EQ(cells, 3 * static_cast<int>(std::size(PlannedFaults)));
}
