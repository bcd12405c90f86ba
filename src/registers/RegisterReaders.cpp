#include "RegisterReaders.h"

#include "app/Convert.h"
#include "db/Schema.h"

namespace arenor::registers {

namespace {

// Walks a register table in record order, handing each record to fn.
template <typename Fn>
int walk(AppState &state, schema::Table table, Fn fn)
{
    db::Recordset rs;
    if (!rs.open(state.database, schema::tableName(state, table)))
        return -1;
    int n = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        fn(rs, ++n);
    return n;
}

} // namespace

void readRegisters(AppState &state)
{
    if (!state.database.isOpen())
        return;
    Catalogs &c = state.catalogs;
    const bool wasReading = state.readingRegister;
    state.readingRegister = true;
    int n = walk(state, schema::Table::Personer, [&](db::Recordset &rs, int) {
        const qint64 no = toInteger(rs.text(0));
        if (no < 1 || no > kMaxPersons)
            return;
        PersonSlot &s = c.persons[size_t(no)];
        s.startNo = rs.text(0);
        s.name = rs.text(2) + u' ' + rs.text(1);
        s.club = rs.text(3);
        s.cls = rs.text(4);
        s.contingentCode = qint16(toInteger(rs.text(19), -32768, 32767));
    });
    if (n >= 0)
        c.personCount = std::min(n, kMaxPersons);
    n = walk(state, schema::Table::Stafettlag, [&](db::Recordset &rs, int) {
        const qint64 no = toInteger(rs.text(0));
        if (no < 1 || no > kMaxRelays)
            return;
        RelaySlot &s = c.relays[size_t(no)];
        s.teamNo = rs.text(0);
        s.club = rs.text(1);
        s.cls = rs.text(2);
        for (int i = 0; i < 4; ++i)
            s.runner[size_t(i)] = rs.text(3 + i);
    });
    if (n >= 0)
        c.relayCount = std::min(n, kMaxRelays);
    n = walk(state, schema::Table::Klubber, [&](db::Recordset &rs, int) {
        const qint64 no = toInteger(rs.text(0));
        if (no >= 1 && no <= kMaxClubs)
            c.clubs[size_t(no)] = rs.text(1);
    });
    if (n >= 0)
        c.clubCount = std::min(n, kMaxClubs);
    walk(state, schema::Table::Klasser, [&](db::Recordset &rs, int) {
        const qint64 no = toInteger(rs.text(0));
        if (no >= 1 && no <= kMaxClassSlots)
            c.classes[size_t(no)] = rs.text(1);
    });
    state.readingRegister = wasReading;
    if (state.refreshStartList)
        state.refreshStartList();
}

} // namespace arenor::registers
