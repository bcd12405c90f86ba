#pragma once
// Shared test helpers: a program directory in a temporary folder, a state wired to a
// scripted prompt and a recording editor, and a meet database made without questions.

#include "RecordingEditorLauncher.h"
#include "ScriptedPrompt.h"
#include "base/ListDocument.h"
#include "db/AppState.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <tuple>
#include <utility>

namespace arenor::test {

struct TestMeet {
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;

    TestMeet();
    // Makes the current database with every table at the given sizes (format question
    // answered Yes) and leaves it open.
    void makeDatabase(int persons = 15, int relays = 5, int clubs = 5);
};

// The tests of the meet's logic run twice: on SQLite files, and on a meet database of the
// private PostgreSQL server that the test script starts (ARENOR_TEST_ENGINE=postgresql; the
// server is reached through PGHOST, PGPORT and PGUSER).
bool onTestServer();
// A new, empty database on the test server: its address.
QString newServerDatabase();
// Moves the open meet file of `state` to a new database on the test server and opens it there.
void moveMeetToServer(AppState &state);

// Field `field` of record `record` (from 1) of a meet table, as stored; and writing it.
QString storedText(AppState &state, const QString &table, int record, int field);
void setStoredText(AppState &state, const QString &table, int record, int field, const QString &value);

// The bytes of a file, or empty when it cannot be read; writing a file whole.
QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
// The names of the files in a directory, sorted.
QStringList filesIn(const QString &dir);
// Every row of a table in record order.
QList<QVariantList> rowsOf(db::Database &database, const QString &table);
// The path of a golden file under tests/data; comparing with one (ARENOR_WRITE_GOLDEN=1
// writes it instead, after a deliberate change of format).
QString dataFile(const QString &name);
void compareWithGolden(const QByteArray &actual, const QString &name);

// Catches the documents of the lists made while it lives (the notifier's listMade).
struct MadeLists {
    explicit MadeLists(AppState &state);
    ~MadeLists() { QObject::disconnect(connection); }
    QMetaObject::Connection connection;
    QList<ListDocument> documents;
    QStringList paths;
};
// Checks a made list's document against its file: the same lines, and every line's cells, put
// at their positions, give the line with its separators as blanks. Returns the kinds of its
// lines with runs counted ("T H4 B S - C = R3 =").
QString checkedDocument(const ListDocument &document, const QString &path);

// A data table's columns by their types alone: Cases<int, QString>::columns() in the _data
// function, and `const auto [number, text] = Cases<int, QString>::fetch();` in the test.
template <typename... T> struct Cases {
    // The table keeps the names it is given, so they are literals.
    static constexpr const char *kNames[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
    static void columns() { columnsAt(std::index_sequence_for<T...>()); }
    static std::tuple<T...> fetch() { return fetchAt(std::index_sequence_for<T...>()); }
    template <std::size_t... I> static void columnsAt(std::index_sequence<I...>)
    {
        (QTest::addColumn<T>(kNames[I]), ...);
    }
    template <std::size_t... I> static std::tuple<T...> fetchAt(std::index_sequence<I...>)
    {
        return {*static_cast<T *>(QTest::qData(kNames[I], qMetaTypeId<T>()))...};
    }
};

} // namespace arenor::test
