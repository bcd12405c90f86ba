#include "TestSupport.h"

#include "app/MeetFile.h"
#include "base/TextFile.h"
#include "db/Transfer.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>
#include <cstdlib>

namespace arenor::test {

namespace {
// The server twin of a test is skipped where no test server runs (a bare ctest).
[[maybe_unused]] const bool kServerPresent = [] {
    if (onTestServer() && qEnvironmentVariableIsEmpty("PGHOST")) {
        std::fputs("no test server: PGHOST is not set\n", stderr);
        std::exit(77);
    }
    return true;
}();
} // namespace

bool onTestServer()
{
    return qEnvironmentVariable("ARENOR_TEST_ENGINE") == QStringLiteral("postgresql");
}

QString newServerDatabase()
{
    const QString name = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("test-admin"));
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open())
            qFatal("test server: %s", qPrintable(admin.lastError().text()));
        QSqlQuery q(admin);
        if (!q.exec(QStringLiteral("CREATE DATABASE ") + db::quoteIdentifier(name) + QStringLiteral(" TEMPLATE template0")))
            qFatal("test server: %s", qPrintable(q.lastError().text()));
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test-admin"));
    return QStringLiteral("postgresql:///") + name;
}

void moveMeetToServer(AppState &state)
{
    const QString address = newServerDatabase();
    db::Database server;
    db::FileProblem problem = db::FileProblem::None;
    server.open(address, &problem);
    QCOMPARE(problem, db::FileProblem::Empty);
    QVERIFY2(db::uploadMeet(state.database, server).ok(), "upload to the test server");
    server.close();
    state.database.close();
    state.currentDatabase = address;
    state.setMeetDirectory();
    QVERIFY(state.database.open(address).ok());
}

TestMeet::TestMeet()
{
    state.programDir = dir.path();
    state.prompt = &prompt;
    state.editor = &editor;
    state.setMeetDirectory();
}

void TestMeet::makeDatabase(int persons, int relays, int clubs)
{
    state.catalogs.personCount = persons;
    state.catalogs.relayCount = relays;
    state.catalogs.clubCount = clubs;
    prompt.setNextAnswer(Answer::Yes); // format question
    QVERIFY(createMeetFile(state).ok());
    QVERIFY(state.database.open(state.databasePath()).ok());
    if (onTestServer())
        moveMeetToServer(state);
}

QString storedText(AppState &state, const QString &table, int record, int field)
{
    db::Recordset rs;
    if (!rs.open(state.database, table))
        return QStringLiteral("<no table>");
    rs.moveTo(record - 1);
    return rs.text(field);
}

void setStoredText(AppState &state, const QString &table, int record, int field, const QString &value)
{
    QVERIFY(state.database
                .exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                          .arg(db::quoteIdentifier(table), db::quoteIdentifier(QString::number(field))),
                      {value, record})
                .ok());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

QList<QVariantList> rowsOf(db::Database &database, const QString &table)
{
    QList<QVariantList> rows;
    QSqlQuery q(database.handle());
    q.exec(QStringLiteral("SELECT ") + database.allFields(table) + QStringLiteral(" FROM ") +
           db::quoteIdentifier(table) + QStringLiteral(" ORDER BY rowid"));
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        rows << row;
    }
    return rows;
}

QString dataFile(const QString &name)
{
    return qEnvironmentVariable("ARENOR_TEST_DATA") + u'/' + name;
}

void compareWithGolden(const QByteArray &actual, const QString &name)
{
    if (qEnvironmentVariableIsSet("ARENOR_WRITE_GOLDEN"))
        writeFile(dataFile(name), actual);
    QCOMPARE(actual, readFile(dataFile(name)));
}

} // namespace arenor::test

namespace arenor::test {

MadeLists::MadeLists(AppState &state)
{
    connection = QObject::connect(&state.notifier, &MeetNotifier::listMade, &state.notifier,
                                  [this](const ListDocument &document, const QString &path) {
                                      documents << document;
                                      paths << path;
                                  });
}

QString checkedDocument(const ListDocument &document, const QString &path)
{
    const QStringList lines = readTextLines(path);
    if (document.textLines() != lines) {
        QTest::qFail("the document's lines differ from the file", __FILE__, __LINE__);
        return {};
    }
    static const char kLetters[] = "HTSC=RNB";
    QString kinds;
    QChar last;
    int run = 0;
    auto flush = [&] {
        if (run > 0)
            kinds += (kinds.isEmpty() ? QString() : QStringLiteral(" ")) + last +
                     (run > 1 ? QString::number(run) : QString());
    };
    for (const ListDocLine &line : document.lines) {
        QChar letter = QLatin1Char(kLetters[int(line.kind)]);
        if (line.kind == ListLineKind::Ruler)
            letter = line.text.startsWith(u'-') ? u'-' : u'=';
        if (letter != last) {
            flush();
            last = letter;
            run = 0;
        }
        ++run;
        if (line.kind == ListLineKind::Ruler || line.kind == ListLineKind::Blank) {
            if (!line.cells.isEmpty())
                QTest::qFail(qPrintable("cells on a ruler or blank: " + line.text), __FILE__, __LINE__);
            continue;
        }
        // The cells at their positions give the line, separators blanked.
        QList<uint> placed;
        for (const ListCell &cell : line.cells) {
            const QList<uint> text = cell.text.toUcs4();
            if (placed.size() < cell.column - 1 + text.size())
                placed.resize(cell.column - 1 + text.size(), u' ');
            for (qsizetype i = 0; i < text.size(); ++i)
                placed[cell.column - 1 + i] = text[i];
        }
        QString expected = line.text;
        if (line.kind == ListLineKind::Row || line.kind == ListLineKind::Columns ||
            line.kind == ListLineKind::Note)
            expected.replace(u':', u' ');
        const QString actual =
            QString::fromUcs4(reinterpret_cast<const char32_t *>(placed.constData()), placed.size());
        if (actual.trimmed() != expected.trimmed() &&
            !(line.kind == ListLineKind::Note && line.cells.size() == 1 &&
              line.cells.first().text == line.text)) {
            QTest::qFail(qPrintable(QStringLiteral("cells \"%1\" of line \"%2\"").arg(actual, line.text)),
                         __FILE__, __LINE__);
            return {};
        }
    }
    flush();
    return kinds;
}

} // namespace arenor::test
