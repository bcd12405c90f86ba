#include "RegisterReaders.h"

#include "base/Convert.h"
#include "db/Schema.h"
#include "registers/Classes.h"
#include "registers/Clubs.h"
#include "registers/Competitors.h"

#include <QSqlError>
#include <QSqlQuery>

namespace arenor::registers {

namespace {

// The walk every numbered register shares: only the fields the catalogue needs are read; each
// record reaches sync full width, the fields not read left empty. clear empties the catalogue,
// sync files one record into it (out-of-range numbers are left out by sync itself).
template <typename Clear, typename Sync>
RegisterRead readNumbered(AppState &state, schema::Table table, const QList<int> &fields, int statusMessage,
                          int maxCount, int &count, Clear clear, Sync sync)
{
    RegisterRead result;
    const QString name = schema::tableName(state, table);
    if (!state.database.isOpen() || !state.database.tableExists(name)) {
        result.status = Status::failure(QStringLiteral("no table ") + name);
        return result;
    }
    QStringList columns;
    for (int f : fields)
        columns << db::quoteIdentifier(QString::number(f));
    QSqlQuery q = state.database.reader();
    if (!q.exec(QStringLiteral("SELECT ") + columns.join(u',') + QStringLiteral(" FROM ") +
                db::quoteIdentifier(name) + QStringLiteral(" ORDER BY rowid"))) {
        result.status = Status::failure(QStringLiteral("cannot read ") + name + QStringLiteral(": ") +
                                        q.lastError().text());
        return result;
    }
    result.count = std::min(state.database.recordCount(name), maxCount);
    ProgressSink &progress = state.progressSink();
    BusyScope busy(progress);
    const bool wasReading = state.readingRegister;
    state.readingRegister = true;
    progress.setStatusText(state.texts.message(statusMessage));
    progress.setProgressMaximum(result.count);
    clear();
    QVariantList record(*std::max_element(fields.begin(), fields.end()) + 1);
    for (int i = 1; i <= result.count && q.next(); ++i) {
        progress.setProgressValue(i);
        for (int c = 0; c < fields.size(); ++c)
            record[fields[c]] = q.value(c);
        // Compared as a number: " 7" is record 7, "7.5" is not.
        if (toDouble(record[0].toString()) != double(i)) result.indexError = true;
        sync(record);
    }
    count = result.count;
    state.readingRegister = wasReading;
    return result;
}

} // namespace

RegisterRead readPersons(AppState &state)
{
    Catalogs &c = state.catalogs;
    return readNumbered(
        state, schema::Table::Personer,
        {PersonStartNo, PersonFirstName, PersonSurname, PersonClub, PersonClass, PersonContingent}, 108,
        kMaxPersons, c.personCount, [&c] { c.persons.fill(PersonSlot()); },
        [&state](const QVariantList &record) { syncPersonCatalog(state, record); });
}

RegisterRead readClubs(AppState &state)
{
    Catalogs &c = state.catalogs;
    return readNumbered(
        state, schema::Table::Klubber, {ClubNumber, ClubName}, 109, kMaxClubs, c.clubCount,
        [&c] { c.clubs.fill(QString()); },
        [&state](const QVariantList &record) { syncClubCatalog(state, record); });
}

RegisterRead readClasses(AppState &state)
{
    RegisterRead result;
    db::Recordset rs;
    if (Status s = rs.open(state.database, schema::tableName(state, schema::Table::Klasser)); !s) {
        result.status = s;
        return result;
    }
    Catalogs &c = state.catalogs;
    c.classes.fill(QString());
    QStringList names;
    int r = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString name = rs.text(1);
        names.append(name);
        if (++r <= kMaxClassSlots) c.classes[size_t(r)] = name;
    }
    result.count = r;
    state.classLines = appendKeepingLast(state.classLines, names);
    emit state.notifier.registerChanged(MeetNotifier::Register::Classes);
    return result;
}

void reportIndexError(AppState &state, const RegisterRead &read)
{
    if (read.status && read.indexError) state.inform(35);
}

void readRegisters(AppState &state)
{
    if (!state.database.isOpen()) return;
    reportIndexError(state, readPersons(state));
    reportIndexError(state, readRelayTeams(state));
    reportIndexError(state, readClubs(state));
    readClasses(state);
    emit state.notifier.entriesChanged(state.currentRound);
}

} // namespace arenor::registers
