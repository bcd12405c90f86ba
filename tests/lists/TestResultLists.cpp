#include "TestSupport.h"

#include <QTest>

using namespace arenor;
using namespace arenor::test;

class TestResultLists : public QObject {
    Q_OBJECT
private slots:
};

QTEST_GUILESS_MAIN(TestResultLists)
#include "TestResultLists.moc"
