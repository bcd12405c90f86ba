#include "TestSupport.h"

#include <QTest>

using namespace arenor;
using namespace arenor::test;

class TestMeetLists : public QObject {
    Q_OBJECT
private slots:
};

QTEST_GUILESS_MAIN(TestMeetLists)
#include "TestMeetLists.moc"
