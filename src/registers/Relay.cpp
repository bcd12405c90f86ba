#include "Relay.h"

#include "base/Convert.h"
#include "db/Schema.h"
#include "registers/RegisterRules.h"

#include <QSet>

namespace arenor::registers {

std::optional<int> relaySlotFor(const QString &teamNo)
{
    // Read wider than the catalogue so that 51 or 99999 is refused, not clamped into range.
    const qint64 k = toInteger(teamNo);
    if (!Catalogs::validRelay(k)) return std::nullopt;
    return int(k);
}

QString relayNumberProblem(const AppState &state, const QString &typed, const QString &kept)
{
    if (relaySlotFor(typed)) return {};
    return numberNotTakenText(state, QStringLiteral("Stafettlag nummer"), QStringLiteral("Relay team number"),
                              typed, kMaxRelays, kept);
}

bool syncRelayCatalog(AppState &state, const QVariantList &record)
{
    const QString number = record.value(RelayNumber).toString();
    const std::optional<int> k = relaySlotFor(number);
    if (!k) return false;
    RelaySlot &slot = state.catalogs.relays[size_t(*k)];
    slot.teamNo = number;
    slot.club = record.value(RelayClub).toString();
    slot.cls = record.value(RelayClass).toString();
    for (int i = 0; i < kRelayRunners; ++i)
        slot.runner[size_t(i)] = record.value(RelayRunner1 + i).toString();
    return true;
}

QList<int> relayWipeFields()
{
    QList<int> fields{RelayClub, RelayClass};
    for (int i = 0; i < kRelayRunners; ++i)
        fields.append(RelayRunner1 + i);
    return fields;
}

void refreshStartListAfterEdit(AppState &state)
{
    if (!state.readingRegister && state.option(OptAutoUpdateStartList))
        emit state.notifier.entriesChanged(state.currentRound);
}

QString runnerLine(const PersonSlot &person)
{
    return person.startNo + u',' + person.name;
}

bool isUnnamed(const QString &name)
{
    for (QChar c : name)
        if (c != u'-' && !c.isSpace()) return false;
    return true;
}

namespace {

// Calls fn for every named competitor of the club, in start-number order.
template <typename Fn> void forNamedOfClub(const AppState &state, const QString &club, Fn fn)
{
    const QString wanted = club.trimmed();
    const int persons = std::clamp(state.catalogs.personCount, 0, kMaxPersons);
    for (int s = 1; s <= persons; ++s) {
        const PersonSlot &p = state.catalogs.persons[size_t(s)];
        if (p.club.trimmed() == wanted && !isUnnamed(p.name)) fn(p);
    }
}

} // namespace

QStringList relayClassChoices(const AppState &state, const QString &club)
{
    // One pass over the competitors, then the classes in their order: 40 passes over 3000
    // competitors would be felt each time the list drops down.
    QSet<QString> present;
    forNamedOfClub(state, club, [&present](const PersonSlot &p) { present.insert(p.cls.trimmed()); });
    QStringList list;
    for (int c = 1; c <= kClassCount; ++c) {
        const QString &name = state.catalogs.classes[size_t(c)];
        if (present.contains(name.trimmed()) && !list.contains(name)) list.append(name);
    }
    return list;
}

QStringList relayRunnerChoices(const AppState &state, const QString &club, const QString &cls)
{
    const QString wanted = cls.trimmed();
    QStringList list;
    forNamedOfClub(state, club, [&](const PersonSlot &p) {
        if (p.cls.trimmed() == wanted) list.append(runnerLine(p));
    });
    return list;
}

std::optional<int> jumpOffset(const QString &moverText, const QString &shownNumber, int count)
{
    // A 16-bit reading, as the box always had, but clamped: "99999" is simply no record.
    const qint64 t = toInteger(moverText, -32768, 32767);
    if (t < 1 || t > count) return std::nullopt;
    return int(t - toInteger(shownNumber, -32768, 32767));
}

RegisterRead readRelayTeams(AppState &state)
{
    RegisterRead result;
    db::Recordset rs;
    if (Status s = rs.open(state.database, schema::tableName(state, schema::Table::Stafettlag)); !s) {
        result.status = s;
        return result;
    }
    result.count = std::min(rs.recordCount(), kMaxRelays);
    ProgressSink &progress = state.progressSink();
    BusyScope busy(progress);
    const bool wasReading = state.readingRegister;
    state.readingRegister = true;
    progress.setStatusText(state.texts.message(111));
    progress.setProgressMaximum(result.count);
    state.catalogs.relays.fill(RelaySlot());
    rs.moveFirst();
    for (int i = 1; i <= result.count; ++i, rs.moveNext()) {
        progress.setProgressValue(i);
        // Compared as a number: " 7" is team 7, "7.5" is not.
        if (toDouble(rs.text(RelayNumber)) != double(i)) result.indexError = true;
        QVariantList record;
        for (int f = 0; f < rs.fieldCount(); ++f)
            record.append(rs.field(f));
        syncRelayCatalog(state, record);
    }
    state.catalogs.relayCount = result.count;
    state.readingRegister = wasReading;
    return result;
}

} // namespace arenor::registers
