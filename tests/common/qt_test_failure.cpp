// How the shared test helpers fail a Qt Test function (see fake_ui.h).
#include "tests/common/fake_ui.h"

#include <QTest>
#include <QtGlobal>

namespace velmo::test {

void failTest(const std::string &what)
{
    if (!QTest::currentTestFunction())
        qFatal("%s", what.c_str()); // outside a test function nothing else can fail the run
    else if (!QTest::currentTestFailed())
        QTest::qFail(what.c_str(), __FILE__, __LINE__);
    else
        qWarning("%s", what.c_str()); // Qt Test records one failure per test function
}

bool testHasFailed()
{
    return QTest::currentTestFunction() && QTest::currentTestFailed();
}

} // namespace velmo::test
