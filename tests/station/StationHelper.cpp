// A second station of a server meet for the tests: opens the meet at the address given and
// works on it through the program's logic, printing a line after each thing it committed.
//   station_helper <address> type          one competitor and its entry per line read ("quit" ends)
//   station_helper <address> edit R F V    field F of competitor row R (0-based) set to V
//   station_helper <address> loop G        competitors renamed one after another, each in a
//                                          transaction holding the making lock of grid G

#include "db/Schema.h"
#include "db/Station.h"
#include "registers/Competitors.h"
#include "registers/Entries.h"
#include "registers/RegisterReaders.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

using namespace arenor;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    if (args.size() < 3)
        return 2;
    QTemporaryDir dir;
    AppState state;
    state.programDir = dir.path();
    state.currentDatabase = args[1];
    state.setMeetDirectory();
    if (Status s = state.database.open(args[1]); !s) {
        out << "failed " << s.error() << Qt::endl;
        return 1;
    }
    registers::readPersons(state);
    registers::readRelayTeams(state);
    registers::ensureEntryLayout(state);
    db::RecordModel persons;
    if (!persons.open(state.database, schema::kPersoner))
        return 1;
    const QString mode = args[2];
    if (mode == QStringLiteral("type")) {
        QTextStream in(stdin);
        for (int k = 1; k <= persons.rowCount(); ++k) {
            if (in.readLine() != QStringLiteral("next"))
                break;
            const int record = registers::entryRecordNumber(
                state.currentRound, k - 1, false, state.catalogs.personCount, state.catalogs.relayCount);
            if (!persons.setValue(k - 1, registers::PersonFirstName, QStringLiteral("Typed%1").arg(k)) ||
                !registers::setEntry(state, record, 1, true)) {
                out << "failed " << persons.lastError() << Qt::endl;
                return 1;
            }
            out << "typed " << k << Qt::endl;
        }
    } else if (mode == QStringLiteral("edit") && args.size() == 6) {
        const bool ok = persons.setValue(args[3].toInt(), args[4].toInt(), args[5]);
        out << (ok ? QStringLiteral("edited") : QStringLiteral("refused ") + persons.lastError()) << Qt::endl;
    } else if (mode == QStringLiteral("loop") && args.size() == 4) {
        for (int i = 1;; ++i) {
            const int row = i % persons.rowCount();
            Status s = state.database.transaction([&]() -> Status {
                bool elsewhere = false;
                if (Status l = db::lockForMaking(state.database, args[3], 0, &elsewhere); !l || elsewhere)
                    return l ? Status::failure(QStringLiteral("locked elsewhere")) : l;
                if (!persons.setValue(row, registers::PersonSurname, QStringLiteral("Loop%1").arg(i)))
                    return Status::failure(persons.lastError());
                return {};
            });
            if (s)
                out << "committed " << row << ' ' << i << Qt::endl;
        }
    }
    return 0;
}
