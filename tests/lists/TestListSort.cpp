#include "TestSupport.h"

#include <QTest>

using namespace arenor;
using namespace arenor::test;

class TestListSort : public QObject {
    Q_OBJECT
private slots:
};

QTEST_GUILESS_MAIN(TestListSort)
#include "TestListSort.moc"
