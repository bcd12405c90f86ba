#include "RegisterReaders.h"

#include "app/Convert.h"
#include "db/Schema.h"
#include "registers/Classes.h"
#include "registers/Clubs.h"
#include "registers/Competitors.h"

namespace arenor::registers {

namespace {

QVariantList currentRecord(const db::Recordset &rs)
{
    QVariantList fields;
    fields.reserve(rs.fieldCount());
    for (int f = 0; f < rs.fieldCount(); ++f)
        fields.append(rs.field(f));
    return fields;
}

// The walk every numbered register shares. clear empties the catalogue, sync files one
// record into it (out-of-range numbers are left out by sync itself).
template <typename Clear, typename Sync>
RegisterRead readNumbered(AppState &state, schema::Table table, int statusMessage, int maxCount, int &count,
                          Clear clear, Sync sync)
{
    RegisterRead result;
    db::Recordset rs;
    if (Status s = rs.open(state.database, schema::tableName(state, table)); !s) {
        result.status = s;
        return result;
    }
    result.count = std::min(rs.recordCount(), maxCount);
    ProgressSink &progress = state.progressSink();
    BusyScope busy(progress);
    const bool wasReading = state.readingRegister;
    state.readingRegister = true;
    progress.setStatusText(state.texts.message(statusMessage));
    progress.setProgressMaximum(result.count);
    clear();
    rs.moveFirst();
    for (int i = 1; i <= result.count; ++i, rs.moveNext()) {
        progress.setProgressValue(i);
        // Compared as a number: " 7" is record 7, "7.5" is not.
        if (toDouble(rs.text(0)) != double(i)) result.indexError = true;
        sync(currentRecord(rs));
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
        state, schema::Table::Personer, 108, kMaxPersons, c.personCount,
        [&c] { c.persons.fill(PersonSlot()); },
        [&state](const QVariantList &record) { syncPersonCatalog(state, record); });
}

RegisterRead readClubs(AppState &state)
{
    Catalogs &c = state.catalogs;
    return readNumbered(
        state, schema::Table::Klubber, 109, kMaxClubs, c.clubCount, [&c] { c.clubs.fill(QString()); },
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
    // A copy: a viewer may register or leave while being told.
    const auto viewers = state.classLineViewers;
    for (const auto &[viewer, notify] : viewers)
        if (notify) notify();
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
    if (state.refreshStartList) state.refreshStartList();
}

} // namespace arenor::registers
