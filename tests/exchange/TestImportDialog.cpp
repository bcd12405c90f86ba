// The CSV import's preview window: the model under the model tester, and choosing what a
// column holds updates the headings, the problems and whether "Import" can run. The camera's
// folder in the options.

#include "TestSupport.h"
#include "events/Rounds.h"
#include "exchange/CameraLink.h"
#include "exchange/ui/CameraFolderBox.h"
#include "exchange/ui/ImportDialog.h"
#include "registers/Entries.h"
#include "registers/RegisterReaders.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

using namespace arenor;
using namespace arenor::exchange;

class TestImportDialog : public QObject {
    Q_OBJECT
private slots:
    void choosingColumnsRechecksLines()
    {
        test::TestMeet meet;
        meet.makeDatabase();
        registers::readRegisters(meet.state);
        QVERIFY(registers::readEventNames(meet.state).ok());
        events::selectRound(meet.state, meet.state.currentRound);
        CsvImport import;
        QVERIFY(import
                    .setData("Fornavn;Etternavn;Klasse;Øvelser\nA;B;Junior;Svømming\nC;D;Junior;Kule\n",
                             QStringLiteral("x.csv"), meet.state)
                    .ok());
        ImportDialog dialog(meet.state, import, QStringLiteral("x.csv"));
        auto *view = dialog.findChild<QTableView *>(QStringLiteral("previewTableView"));
        QAbstractItemModelTester tester(view->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        auto *column = dialog.findChild<QComboBox *>(QStringLiteral("columnComboBox"));
        auto *meaning = dialog.findChild<QComboBox *>(QStringLiteral("meaningComboBox"));
        auto *problems = dialog.findChild<QListWidget *>(QStringLiteral("problemsListWidget"));
        auto *apply = dialog.findChild<QPushButton *>(QStringLiteral("importPushButton"));
        QCOMPARE(view->model()->rowCount(), 2);
        QCOMPARE(problems->count(), 1);
        QVERIFY(problems->item(0)->text().contains(QStringLiteral("Svømming")));

        auto choose = [&](int c, int choice) {
            column->setCurrentIndex(c);
            meaning->setCurrentIndex(choice);
            emit meaning->activated(choice);
        };
        choose(3, 0); // the events column not used: both lines are good
        QCOMPARE(problems->count(), 0);
        QVERIFY(view->model()->headerData(3, Qt::Horizontal).toString().endsWith(meaning->itemText(0)));
        QVERIFY(apply->isEnabled());
        choose(0, 0);
        choose(1, 0); // no name column left: every line lacks a name
        QCOMPARE(problems->count(), 2);
        QVERIFY(!apply->isEnabled());
        // Picking a column shows what it holds.
        choose(1, 3);
        column->setCurrentIndex(0);
        QCOMPARE(meaning->currentIndex(), 0);
        column->setCurrentIndex(1);
        QCOMPARE(meaning->currentIndex(), 3);
        QVERIFY(apply->isEnabled());
    }

    // The camera's folder in the options: chosen as a folder, kept in Arenor.ini, refused when
    // it is missing, watching only with a folder, cleared again.
    void cameraFolderBox()
    {
        test::TestMeet meet;
        CameraFolderBox box(meet.state);
        QVERIFY(!box.watchBox()->isEnabled());
        const QString folder = meet.dir.path();
        meet.prompt.setNextFile(folder);
        box.chooseButton()->click();
        QVERIFY(meet.prompt.asked().back().file.folder);
        QCOMPARE(box.folderEdit()->text(), QDir::toNativeSeparators(folder));
        box.watchBox()->click();
        QCOMPARE(cameraSetting(meet.state).watch, true);
        meet.prompt.setNextFile(meet.dir.filePath(QStringLiteral("missing")));
        box.chooseButton()->click();
        QVERIFY(meet.prompt.lastMessage().contains(QStringLiteral("missing")));
        QCOMPARE(cameraSetting(meet.state).folder, folder);
        box.clearButton()->click();
        QCOMPARE(cameraSetting(meet.state).folder, QString());
        QVERIFY(!cameraSetting(meet.state).watch && !box.watchBox()->isEnabled());
    }
};

QTEST_MAIN(TestImportDialog)
#include "TestImportDialog.moc"
