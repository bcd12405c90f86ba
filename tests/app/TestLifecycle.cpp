#include "TestSupport.h"

#include "app/Lifecycle.h"
#include "app/MeetFile.h"
#include "base/Convert.h"
#include "db/Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>

using namespace arenor;
using namespace arenor::test;
using lifecycle::Outcome;

namespace {

// Stands for a data-bound window: records when it lets go of the file and what it binds to.
struct RecordingClient : DataBound {
    QStringList events;
    void bindDatabase(db::Database &database) override { events << QFileInfo(database.path()).fileName(); }
    void unbindDatabase() override { events << QStringLiteral("unbind"); }
};

// Counts the savings of the settings file.
struct CountingSettings : SettingsStore {
    int saved = 0;
    void save() override { ++saved; }
    void load(bool) override {}
};

struct Meet : TestMeet {
    RecordingClient client;
    CountingSettings settings;
    Meet(int persons = 15, int relays = 5, int clubs = 5,
         const QString &name = QStringLiteral("Demomeet.mdb"))
    {
        state.currentDatabase = name;
        state.setMeetDirectory();
        makeDatabase(persons, relays, clubs);
        meetFilesCheck(state);
        state.addDataBound(&client);
        state.settings = &settings;
        prompt.clear();
    }
    QString program(const QString &name) const { return dir.path() + u'/' + name; }
};

const QString kCancel = QStringLiteral("<cancel>");

void scriptInputs(ScriptedPrompt &prompt, const QStringList &answers)
{
    for (const QString &a : answers)
        prompt.setNextInput(a == kCancel ? std::nullopt : std::optional<QString>(a));
}

} // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
private slots:
    // The answers of a new meet's size questions: conversion, defaults, limits and Cancel.
    void registerSizes_data()
    {
        // before: persons, relays, clubs
        Cases<QStringList, QList<int>, QList<int>, int>::columns();
        const QList<int> old{100, 10, 30};
        QTest::newRow("plain") << QStringList{" 40", " 7", " 12"} << old << QList<int>{40, 7, 12} << 3;
        QTest::newRow("blanks and fractions")
            << QStringList{"  12.6 ", "2.5", "  12.6 "} << old << QList<int>{13, 2, 12} << 3;
        QTest::newRow("5000 gives 3000")
            << QStringList{"5000", "60", "99"} << old << QList<int>{3000, 50, 50} << 3;
        QTest::newRow("0 and text give defaults")
            << QStringList{"0", "abc", "0"} << old << QList<int>{15, 5, 5} << 3;
        QTest::newRow("cancel at the second keeps all three")
            << QStringList{"200", kCancel} << old << old << 2;
        QTest::newRow("empty answer is a cancel") << QStringList{""} << old << old << 1;
        QTest::newRow("cancel with sizes still 0 gives defaults")
            << QStringList{kCancel} << QList<int>{0, 0, 0} << QList<int>{15, 5, 5} << 1;
    }
    void registerSizes()
    {
        auto [answers, before, after, questions] = Cases<QStringList, QList<int>, QList<int>, int>::fetch();
        TestMeet meet;
        Catalogs &c = meet.state.catalogs;
        c.personCount = before[0];
        c.relayCount = before[1];
        c.clubCount = before[2];
        scriptInputs(meet.prompt, answers);
        lifecycle::askRegisterSizes(meet.state);
        QCOMPARE((QList<int>{c.personCount, c.relayCount, c.clubCount}), after);
        const auto &asked = meet.prompt.asked();
        QCOMPARE(int(asked.size()), questions);
        QCOMPARE(asked[0].input.defaultText, numberText(qint64(before[0])));
        // Whatever the current size, the clubs question proposes 20.
        if (questions == 3)
            QCOMPARE(asked[2].input.defaultText, QStringLiteral(" 20"));
    }

    // A new meet becomes current with the final round; with all messages on, the format answer
    // and the new file are reported.
    void newMeetIsMadeAndBecomesCurrent_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::newRow("32-bit") << true;
        QTest::newRow("16-bit") << false;
    }
    void newMeetIsMadeAndBecomesCurrent()
    {
        QFETCH(bool, modern);
        Meet meet;
        AppState &s = meet.state;
        s.options[OptAllMessages] = true;
        s.roundLoaded = {true, true, true, true};
        s.currentRound = 1;
        s.setRoundTag(1);
        meet.prompt.setNextFile(meet.program(QStringLiteral("Meet.MDB"))); // the extension test ignores case
        scriptInputs(meet.prompt, {" 20", " 3", " 4"});
        meet.prompt.setNextAnswer(modern ? Answer::Yes : Answer::No);
        QCOMPARE(lifecycle::makeNewDatabase(s), Outcome::Done);
        QCOMPARE(meet.prompt.unexpected(), 0);
        QCOMPARE(
            meet.prompt.messageTexts().mid(0, 3),
            QStringList({formatQuestion(s.texts), s.texts.message(modern ? 31 : 32), s.texts.message(33)}));

        QCOMPARE(s.meetDir, meet.program(QStringLiteral("Meet/")));
        QCOMPARE(filesIn(s.meetDir), QStringList({"Info.txt", "InnTider.txt", "Rapport.txt", "UtTider.txt"}));
        QCOMPARE(s.database.recordCount(QStringLiteral("Påmelding")), 4 * 23);
        QCOMPARE(s.database.format(), modern ? db::Format::Modern : db::Format::Compact);
        QCOMPARE(meet.client.events, QStringList({"unbind", "Meet.MDB"}));
        QCOMPARE(meet.settings.saved, 1);
        QCOMPARE(s.roundTag, QStringLiteral("Finale_"));
        QVERIFY(!s.roundLoaded[0] && !s.roundLoaded[1] && !s.roundLoaded[2]);
        QCOMPARE(
            meet.prompt.lastMessage(),
            QStringLiteral("Systemet er resatt med 20 deltakere.Det er satt opp 4 klubber, og du kan ha 40 "
                           "forskjellige klasser.Antall stafettlag er 3."));
    }

    // A new meet that cannot be made: the previous meet comes back, whole and bound.
    void newMeetFailureFallsBackToThePreviousMeet_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("meet directory blocked by a file") << "Blocked.mdb";
        QTest::newRow("unwritable place") << "/proc/Arenor-test-meet.mdb";
    }
    void newMeetFailureFallsBackToThePreviousMeet()
    {
        QFETCH(QString, chosen);
        Meet meet;
        writeFile(meet.program(QStringLiteral("Blocked")), "a file where the meet directory would go");
        const QByteArray before = readFile(meet.state.databasePath());
        meet.prompt.setNextFile(QDir::isAbsolutePath(chosen) ? chosen : meet.program(chosen));
        QCOMPARE(lifecycle::makeNewDatabase(meet.state), Outcome::Recovered);
        QVERIFY(meet.prompt.messageTexts().first().startsWith(meet.state.texts.message(50)));
        QCOMPARE(meet.state.currentDatabase, QStringLiteral("Demomeet.mdb"));
        QCOMPARE(meet.state.meetDir, meet.program(QStringLiteral("Demomeet/")));
        QCOMPARE(meet.client.events.last(), QStringLiteral("Demomeet.mdb"));
        QCOMPARE(meet.state.database.recordCount(QStringLiteral("Personer")), 15);
        QCOMPARE(readFile(meet.state.databasePath()), before);
        QVERIFY(!QFile::exists(meet.program(QStringLiteral("Blocked.mdb"))));
    }

    // Nothing changes when the chosen file cannot be the new or the opened meet: the meet stays
    // open and bound, its file and the chosen one stay as they were, and one message says why
    // ("#n": message n). A file that is no whole meet (made by sql from an empty database, or
    // from a copy of the meet) gets message 43.
    void refusedFilesChangeNothing_data()
    {
        // new meet (or open), chosen, content written to it first, sql run on it, message
        Cases<bool, QString, QByteArray, QString, QString>::columns();
        auto row = [](const char *name, bool makeNew, const char *chosen, const QByteArray &content,
                      const char *sql, const char *message) {
            QTest::newRow(name) << makeNew << QString::fromUtf8(chosen) << content << QString::fromUtf8(sql)
                                << QString::fromUtf8(message);
        };
        row("new: cancelled dialog", true, "<cancel>", {}, "", "");
        row("new: no .mdb", true, "Meet.md", {}, "", "#45");
        row("new: dot only", true, ".md", {}, "", "#45");
        row("new: the open meet", true, "Demomeet.mdb", {}, "", "#46");
        row("new: existing file", true, "Old.mdb", "keep me", "", "#46");
        row("the open meet, other case and blanks", false, " demomeet.MDB ", {}, "",
            "Allerede åpnet, avbryter!");
        row("no such file", false, "Missing.mdb", {}, "", "Sorry! Ingen database med det navnet!");
        row("not a database", false, "Notes.mdb", "just some notes\r\n", "", "Notes.mdb er ingen database");
        row("old Windows format", false, "Old.mdb",
            QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00", 24), "",
            "Old.mdb er i det gamle Windows-formatet");
        QByteArray broken("SQLite format 3\0", 16);
        broken += QByteArray(100 - 16, '\0') + QByteArray(4096 - 100, '\xA5');
        row("damaged header", false, "Broken.mdb", broken, "", "Broken.mdb er ingen database");
        row("empty database", false, "X.mdb", {}, "VACUUM", "mangler Klasser, Klubber, Oppsett");
        row("other program", false, "X.mdb", {}, "CREATE TABLE notes (text)", "Klasser");
        row("one table dropped", false, "X.mdb", {}, "DROP TABLE \"Tidtakingoppsett\"",
            "mangler Tidtakingoppsett.");
        row("one field dropped", false, "X.mdb", {}, "ALTER TABLE \"Personer\" DROP COLUMN \"22\"",
            "Personer.22");
    }
    void refusedFilesChangeNothing()
    {
        auto [makeNew, chosen, content, sql, message] =
            Cases<bool, QString, QByteArray, QString, QString>::fetch();
        Meet meet;
        const QString path = meet.program(chosen);
        if (!content.isEmpty())
            writeFile(path, content);
        if (!sql.isEmpty()) {
            QVERIFY(sql.startsWith(u'V') || sql.startsWith(u'C')
                        ? db::Database::create(path, db::Format::Modern).ok()
                        : QFile::copy(meet.state.databasePath(), path));
            db::Database d;
            QVERIFY(d.open(path).ok());
            QVERIFY(d.exec(QStringLiteral("PRAGMA application_id = 0")).ok() && d.exec(sql).ok());
        }
        const QByteArray before = readFile(path), meetBefore = readFile(meet.state.databasePath());
        meet.prompt.setNextFile(chosen == kCancel ? std::nullopt : std::optional<QString>(path));
        QCOMPARE(makeNew ? lifecycle::makeNewDatabase(meet.state) : lifecycle::openMeetDatabase(meet.state),
                 Outcome::Stopped);
        const QString why =
            message.startsWith(u'#') ? meet.state.texts.message(message.mid(1).toInt()) : message;
        QCOMPARE(meet.prompt.messageTexts().size(), message.isEmpty() ? 0 : 1);
        QVERIFY2(meet.prompt.lastMessage().contains(why), qPrintable(meet.prompt.lastMessage()));
        QVERIFY(sql.isEmpty() || meet.prompt.lastMessage().startsWith(meet.state.texts.message(43)));
        QCOMPARE(meet.state.currentDatabase, QStringLiteral("Demomeet.mdb"));
        QVERIFY(meet.client.events.isEmpty());
        QCOMPARE(meet.state.database.recordCount(QStringLiteral("Personer")), 15);
        QCOMPARE(readFile(path), before);
        QCOMPARE(readFile(meet.state.databasePath()), meetBefore);
    }

    // A program killed at any moment while it makes a meet leaves either no meet file (the next
    // start makes one) or a whole one, never a half-built one.
    void killedWhileMakingAMeet()
    {
        QTemporaryDir root;
        auto make = [&](const QString &dir, int killAfter) {
            QDir().mkpath(dir);
            QProcess child;
            child.start(QStringLiteral(ARENOR_MEET_CHILD), {QStringLiteral("make"), dir});
            if (!child.waitForFinished(killAfter)) {
                child.kill();
                child.waitForFinished();
            }
        };
        QElapsedTimer clock;
        clock.start();
        make(root.filePath(QStringLiteral("whole")), 60000);
        const int full = int(clock.elapsed());
        TextTables texts;
        int interrupted = 0;
        for (int i = 0; i < 20; ++i) {
            const QString dir = root.filePath(QString::number(i));
            make(dir, full * i / 20);
            const QString path = dir + QStringLiteral("/Demomeet.mdb");
            if (!QFile::exists(path)) {
                ++interrupted;
                continue;
            }
            QVERIFY(checkMeetFile(texts, path, QStringLiteral("Demomeet.mdb")).ok());
            db::Database d;
            QVERIFY(d.open(path).ok());
            QCOMPARE(d.recordCount(QStringLiteral("Stafettlag")), 5);
        }
        QVERIFY2(interrupted > 0, "no kill landed while the meet was made");
    }

    // Reset with Yes: the meet starts afresh; only Info.txt and Rapport.txt are left (no copy a
    // killed list write left either), and the time files come back when the meet is opened again.
    void resetStartsAfreshAndTimeFilesComeBack()
    {
        Meet meet;
        AppState &s = meet.state;
        writeFile(s.meetFile(QStringLiteral("Hele_stevnet_Finale_.txt")), "old list");
        writeFile(s.meetFile(QStringLiteral("Al-F.txt.UelZSq")), "old list");
        scriptInputs(meet.prompt, {"30", "4", "6"});
        meet.prompt.setNextAnswer(Answer::Yes); // message 25
        meet.prompt.setNextAnswer(Answer::No);  // the older format
        QCOMPARE(lifecycle::resetMeetDatabase(s), Outcome::Done);
        QCOMPARE(meet.prompt.unexpected(), 0);
        QCOMPARE(meet.prompt.messageTexts().first(), s.texts.message(25));
        QCOMPARE(filesIn(s.meetDir), QStringList({"Info.txt", "Rapport.txt"}));
        QCOMPARE(s.database.recordCount(QStringLiteral("Påmelding")), 4 * 34);
        QCOMPARE(s.database.format(), db::Format::Compact);
        QCOMPARE(meet.client.events, QStringList({"unbind", "Demomeet.mdb"}));
        QCOMPARE(meet.settings.saved, 2);
        QVERIFY(meet.prompt.lastMessage().startsWith(QStringLiteral("Systemet er resatt med 30 deltakere.")));

        // Away to another meet and back.
        QVERIFY(QFile::copy(s.databasePath(), meet.program(QStringLiteral("Other.mdb"))));
        meet.prompt.setNextFile(meet.program(QStringLiteral("Other.mdb")));
        QCOMPARE(lifecycle::openMeetDatabase(s), Outcome::Done);
        QCOMPARE(s.meetDir, meet.program(QStringLiteral("Other/")));
        meet.prompt.setNextFile(meet.program(QStringLiteral("Demomeet.mdb")));
        QCOMPARE(lifecycle::openMeetDatabase(s), Outcome::Done);
        QCOMPARE(filesIn(s.meetDir), QStringList({"Info.txt", "InnTider.txt", "Rapport.txt", "UtTider.txt"}));
        QCOMPARE(s.database.recordCount(QStringLiteral("Personer")), 30);
    }

    // The same cancel that a new meet passes over stops a reset before anything is touched.
    void resetCancelledAtTheSecondQuestionChangesNothing()
    {
        Meet meet;
        const QByteArray before = readFile(meet.state.databasePath());
        const QStringList files = filesIn(meet.state.meetDir);
        scriptInputs(meet.prompt, {"30", kCancel});
        meet.prompt.setNextAnswer(Answer::Ok);
        QCOMPARE(lifecycle::resetMeetDatabase(meet.state), Outcome::Stopped);
        QCOMPARE(meet.prompt.asked().size(), size_t(3));
        QCOMPARE(meet.prompt.lastMessage(), QStringLiteral("Resetting mislyktes eller ble avbrutt!"));
        QCOMPARE(filesIn(meet.state.meetDir), files);
        QCOMPARE(readFile(meet.state.databasePath()), before);
        QVERIFY(meet.client.events.isEmpty());
        QCOMPARE(meet.state.catalogs.personCount, 15);
    }

    // Enter (No) at message 25 keeps the meet file, and with it its lists and times; each table
    // is then asked for on its own, and Enter keeps it too.
    void resetAnsweredNoKeepsTheMeetAndItsLists()
    {
        Meet meet;
        AppState &s = meet.state;
        writeFile(s.meetFile(QStringLiteral("Hele_stevnet_Finale_.txt")), "old list");
        const QStringList files = filesIn(s.meetDir);
        scriptInputs(meet.prompt, {"30", "4", "6"});
        meet.prompt.setNextEnter(); // message 25
        for (int i = 0; i < 9; ++i)
            meet.prompt.setNextEnter(); // "... exists. Do you want to overwrite" per table
        QCOMPARE(lifecycle::resetMeetDatabase(s), Outcome::Done);
        QCOMPARE(meet.prompt.unexpected(), 0);
        QCOMPARE(filesIn(s.meetDir), files);
        QCOMPARE(readFile(s.meetFile(QStringLiteral("Hele_stevnet_Finale_.txt"))), QByteArray("old list"));
        QCOMPARE(s.database.recordCount(QStringLiteral("Personer")), 15);
        QVERIFY(meet.prompt.messageTexts()[1].startsWith(QStringLiteral("Klasser eksisterer.")));
    }

    // Compaction, repair and copy keep every row in its order, and the format; the copy leaves
    // the meet as it is and replaces an earlier copy. No file the program did not make in the
    // running command is ever deleted: a meet named Temp.mdb is an ordinary meet, and Kopi.mdb
    // (the copy's name) is no name for a new meet.
    void compactionRepairAndCopyKeepEveryRowInOrder()
    {
        Meet meet(40, 5, 5, QStringLiteral("Temp.mdb"));
        AppState &s = meet.state;
        // Gaps and a changed record, so a renumbering or reordering would show.
        QVERIFY(s.database.exec(QStringLiteral("DELETE FROM \"Personer\" WHERE rowid IN (3, 17, 18)")).ok());
        QVERIFY(
            s.database.exec(QStringLiteral("UPDATE \"Personer\" SET \"1\" = 'Åse' WHERE rowid = 30")).ok());
        // The older of the two formats, which must survive the compaction.
        QVERIFY(s.database.exec(QStringLiteral("PRAGMA user_version = 25")).ok());
        const QList<QVariantList> persons = rowsOf(s.database, QStringLiteral("Personer"));
        const QList<QVariantList> entries = rowsOf(s.database, QStringLiteral("Påmelding"));
        writeFile(meet.program(QStringLiteral("Kopi.mdb")), "an earlier copy");

        QCOMPARE(lifecycle::compactMeetDatabase(s), Outcome::Done);
        QCOMPARE(meet.client.events, QStringList({"unbind", "Temp.mdb"}));
        QCOMPARE(s.database.format(), db::Format::Compact);
        const QByteArray before = readFile(s.databasePath());
        QCOMPARE(lifecycle::copyMeetDatabase(s), Outcome::Done);
        QCOMPARE(readFile(s.databasePath()), before);
        QCOMPARE(lifecycle::repairMeetDatabase(s), Outcome::Done);
        QVERIFY(meet.prompt.messageTexts().isEmpty());
        QCOMPARE(filesIn(meet.dir.path()), QStringList({"Kopi.mdb", "Temp.mdb"}));
        QCOMPARE(rowsOf(s.database, QStringLiteral("Personer")), persons);
        QCOMPARE(rowsOf(s.database, QStringLiteral("Påmelding")), entries);
        {
            db::Database d;
            QVERIFY(d.open(meet.program(QStringLiteral("Kopi.mdb"))).ok());
            QCOMPARE(rowsOf(d, QStringLiteral("Personer")), persons);
            QCOMPARE(d.format(), db::Format::Compact);
        }

        // The copy of another meet leaves the meet named Temp.mdb alone.
        const QByteArray temp = readFile(s.databasePath());
        s.unbindDataControls();
        s.currentDatabase = QStringLiteral("Demomeet.mdb");
        s.setMeetDirectory();
        meet.makeDatabase();
        QCOMPARE(lifecycle::copyMeetDatabase(s), Outcome::Done);
        QCOMPARE(readFile(meet.program(QStringLiteral("Temp.mdb"))), temp);
        meet.prompt.setNextFile(meet.program(QStringLiteral("kopi.MDB")));
        QCOMPARE(lifecycle::makeNewDatabase(s), Outcome::Stopped);
        QVERIFY(meet.prompt.lastMessage().startsWith(QStringLiteral("Kopi.mdb er navnet på kopien")));
        QCOMPARE(s.currentDatabase, QStringLiteral("Demomeet.mdb"));
    }

    // The meet directory is the file's name less ".mdb", beside the file, whatever the name.
    void meetDirectoryOfShortNames_data()
    {
        Cases<QString, QString>::columns();
        // clang-format off
        for (auto [file, meetDir] : {std::pair{"/p/Arenor/ab", "/p/Arenor/ab_filer/"}, {"/p/Arenor/x.mdb", "/p/Arenor/x/"},
             {"/p/Arenor/.mdb", "/p/Arenor/.mdb_filer/"}, {"/p/Arenor/Meet.MDB", "/p/Arenor/Meet/"}, {"/p/a.mdb/b.mdb", "/p/a.mdb/b/"}})
            QTest::newRow(file) << QString::fromLatin1(file) << QString::fromLatin1(meetDir);
        // clang-format on
    }
    void meetDirectoryOfShortNames()
    {
        auto [file, meetDir] = Cases<QString, QString>::fetch();
        QCOMPARE(AppState::meetDirFor(file), meetDir);
    }

    // A damaged page in the competitors: every readable row is saved into a sound file and
    // the damaged original is kept beside it.
    void repairSalvagesADamagedFile()
    {
        Meet meet(3000, 5, 5);
        AppState &s = meet.state;
        const QList<QVariantList> classes = rowsOf(s.database, QStringLiteral("Klasser"));
        const QList<QVariantList> points = rowsOf(s.database, QStringLiteral("Poengoppsett"));
        QSqlQuery pages(s.database.handle());
        QVERIFY(pages.exec(QStringLiteral("SELECT rootpage, page_size FROM sqlite_master, pragma_page_size "
                                          "WHERE name = 'Personer'")) &&
                pages.next());
        const int root = pages.value(0).toInt(), pageSize = pages.value(1).toInt();
        pages.finish();
        s.database.close();
        const QString path = s.databasePath();
        QByteArray bytes = readFile(path);
        // A leaf in the middle of the competitors' pages, overwritten with rubbish.
        const qsizetype at = qsizetype(root + 10 - 1) * pageSize;
        QVERIFY(at + pageSize <= bytes.size());
        for (qsizetype i = 0; i < pageSize; ++i)
            bytes[at + i] = char(0xE7);
        writeFile(path, bytes);

        QCOMPARE(lifecycle::repairMeetDatabase(s), Outcome::Done);
        QCOMPARE(readFile(path + QStringLiteral(".damaged")), bytes);
        QVERIFY2(meet.prompt.lastMessage().contains(QStringLiteral("Demomeet.mdb.damaged")),
                 qPrintable(meet.prompt.lastMessage()));
        QCOMPARE(filesIn(meet.dir.path()), QStringList({"Demomeet.mdb", "Demomeet.mdb.damaged"}));
        QSqlQuery q(s.database.handle());
        QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        // The rows after the damaged page are there, in order.
        const QList<QVariantList> saved = rowsOf(s.database, QStringLiteral("Personer"));
        QVERIFY(saved.size() > 2800 && saved.size() < 3000);
        QCOMPARE(saved.last().first().toString(), QStringLiteral(" 3000"));
        QCOMPARE(rowsOf(s.database, QStringLiteral("Klasser")), classes);
        QCOMPARE(rowsOf(s.database, QStringLiteral("Poengoppsett")), points);
        QCOMPARE(s.catalogs.personCount, saved.size());
    }

    // A meet outside the program directory keeps its meet directory and work files beside it.
    void meetOutsideTheProgramDirectory()
    {
        Meet meet;
        QTemporaryDir elsewhere;
        const QString other = elsewhere.path() + QStringLiteral("/Away.mdb");
        QVERIFY(QFile::copy(meet.state.databasePath(), other));
        meet.prompt.setNextFile(other);
        QCOMPARE(lifecycle::openMeetDatabase(meet.state), Outcome::Done);
        AppState &s = meet.state;
        QCOMPARE(s.currentDatabase, other);
        QCOMPARE(s.meetDir, elsewhere.path() + QStringLiteral("/Away/"));
        QVERIFY(QFile::exists(s.meetFile(QStringLiteral("InnTider.txt"))));

        QCOMPARE(lifecycle::compactMeetDatabase(s), Outcome::Done);
        QCOMPARE(filesIn(elsewhere.path()), QStringList{"Away.mdb"});
        // A chosen file inside the program directory is kept under its bare name.
        QCOMPARE(lifecycle::storedDatabaseName(s, meet.program(QStringLiteral("sub/../X.mdb"))),
                 QStringLiteral("X.mdb"));
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "TestLifecycle.moc"
