#include "Schema.h"

#include "base/Convert.h"

#include <QSqlError>
#include <QSqlQuery>

namespace arenor::schema {

namespace {

QString dash()
{
    return QStringLiteral("-");
}

// "Misc- 3 5": the test-mode filler of record r, field f.
QString misc(int r, int f)
{
    return QStringLiteral("Misc-") + numberText(qint64(r)) + numberText(qint64(f));
}

// The club of every test-mode competitor: club 1 as the club register names it in the
// language of the day, so the competitors belong to a registered club in either language.
QString testClubOne(const AppState &state)
{
    return state.texts.message(134) + numberText(qint64(1));
}

} // namespace

QString tableName(Table table)
{
    switch (table) {
    case Table::Stafettlag:
        return kStafettlag;
    case Table::Poengoppsett:
        return kPoengoppsett;
    case Table::Ovelser:
        return kOvelser;
    case Table::Klubber:
        return kKlubber;
    case Table::Klasser:
        return kKlasser;
    case Table::Oppsett:
        return kOppsett;
    case Table::Pamelding:
        return kPamelding;
    case Table::Personer:
        return kPersoner;
    case Table::Tidtakingoppsett:
        return kTidtakingoppsett;
    }
    return {};
}

const QList<Table> &meetTables()
{
    static const QList<Table> tables{Table::Klasser,      Table::Klubber,          Table::Oppsett,
                                     Table::Ovelser,      Table::Pamelding,        Table::Personer,
                                     Table::Poengoppsett, Table::Tidtakingoppsett, Table::Stafettlag};
    return tables;
}

QList<FieldSpec> fieldSpecs(Table table)
{
    // Only the timing setup grew: interval and delay in version 1, the adapters' choices in 2.
    const auto since = [table](const db::FieldDef &f) {
        if (table != Table::Tidtakingoppsett)
            return 0;
        const int n = f.name.toInt();
        return n >= kTimingGpioChip ? 2 : n >= kTimingInterval ? 1 : 0;
    };
    QList<FieldSpec> fields;
    for (const db::FieldDef &f : fieldsOf(table))
        fields.append({f, since(f)});
    return fields;
}

QList<db::FieldDef> fieldsOf(Table table)
{
    using db::FieldType;
    switch (table) {
    case Table::Personer:
        return db::numberedFields(kPersonFields);
    case Table::Klubber:
        return db::numberedFields(kClubFields);
    case Table::Klasser:
        return db::numberedFields(kClassFields);
    case Table::Stafettlag:
        return db::numberedFields(kRelayFields);
    case Table::Ovelser:
        return db::numberedFields(kEventNameFields);
    case Table::Poengoppsett:
        return db::numberedFields(kPointFields);
    case Table::Oppsett:
        return db::numberedFields(kSetupFields);
    case Table::Pamelding: {
        QList<db::FieldDef> f = db::numberedFields(kEventSlots + 1, FieldType::Boolean);
        f[0].type = FieldType::Text;
        return f;
    }
    case Table::Tidtakingoppsett: {
        QList<db::FieldDef> f = db::numberedFields(kTimingFields, FieldType::Boolean);
        for (int i = 16; i < kTimingFields; ++i)
            f[i].type = FieldType::Text;
        return f;
    }
    }
    return {};
}

Status initTable(AppState &state, const TableInit &init, InitOutcome *outcome)
{
    db::Database &database = state.database;
    if (!database.isOpen())
        return Status::failure(QStringLiteral("no meet database is open"));
    ProgressSink &progress = state.progressSink();
    const QString name = tableName(init.table);
    const bool exists = database.tableExists(name);
    if (exists) {
        // Asked before the busy pointer is shown, so the question shows the normal one.
        const QString question = name + state.texts.message(65) + state.texts.message(2);
        const bool overwrite =
            state.prompt && state.prompt->askYesNo(question, state.texts.message(1), Icon::None, Answer::No);
        if (!overwrite) {
            if (outcome)
                *outcome = InitOutcome::Kept;
            return {};
        }
    }
    BusyScope busy(progress);
    if (init.statusMessage)
        progress.setStatusText(state.texts.message(init.statusMessage));
    progress.setProgressMaximum(init.progressMaximum);
    const QList<QVariantList> rows = init.rows ? init.rows() : QList<QVariantList>();
    // The bar counts written rows on the scale of its maximum.
    const qsizetype step = std::max<qsizetype>(1, rows.size() / 20);
    // Drop, create and fill in one transaction: a failure leaves the old table whole.
    Status s = database.transaction([&]() -> Status {
        if (exists) {
            if (Status d = database.dropTable(name); !d)
                return d;
        }
        if (Status c = database.createTable(name, fieldsOf(init.table)); !c)
            return c;
        if (rows.isEmpty())
            return {};
        const qsizetype width = rows.first().size();
        QSqlQuery q(database.handle());
        if (!q.prepare(database.insertStatement(name, width)))
            return Status::failure(q.lastError().text());
        for (qsizetype r = 0; r < rows.size(); ++r) {
            for (qsizetype i = 0; i < width; ++i)
                q.bindValue(int(i), db::Database::bindable(rows[r][i]));
            if (!q.exec())
                return Status::failure(QStringLiteral("cannot write ") + name + QStringLiteral(": ") +
                                       q.lastError().text());
            if ((r + 1) % step == 0)
                progress.setProgressValue(int(qint64(init.progressMaximum) * (r + 1) / rows.size()));
        }
        return {};
    });
    if (!s)
        return s;
    progress.setProgressValue(init.progressMaximum);
    if (init.fillCatalog)
        init.fillCatalog();
    if (outcome)
        *outcome = InitOutcome::Built;
    return {};
}

Status initClasses(AppState &state)
{
    TableInit init{Table::Klasser, 103, kClassCount, {}, {}};
    init.rows = [&state] {
        QList<QVariantList> rows;
        for (int r = 1; r <= kClassCount; ++r)
            rows.append({numberText(qint64(r)), state.texts.message(200 + r)});
        return rows;
    };
    return initTable(state, init);
}

Status initClubs(AppState &state)
{
    const int count = state.catalogs.clubCount;
    const bool test = state.testMode();
    TableInit init{Table::Klubber, 107, count, {}, {}};
    init.rows = [&state, count, test] {
        QList<QVariantList> rows;
        for (int r = 1; r <= count; ++r) {
            QVariantList row{numberText(qint64(r))};
            for (int f = 1; f < kClubFields; ++f) {
                if (!test)
                    row.append(dash());
                else if (f == 1)
                    row.append(state.texts.message(134) + numberText(qint64(r)));
                else
                    row.append(misc(r, f));
            }
            rows.append(row);
        }
        return rows;
    };
    init.fillCatalog = [&state, count, test] {
        for (int r = 1; r <= count && r <= kMaxClubs; ++r)
            state.catalogs.clubs[size_t(r)] =
                test ? state.texts.message(134) + numberText(qint64(r)) : dash();
    };
    return initTable(state, init);
}

Status initEventNames(AppState &state)
{
    TableInit init{Table::Ovelser, 102, kEventNameRows, {}, {}};
    init.rows = [&state] {
        QList<QVariantList> rows;
        for (int r = 1; r <= kEventNameRows; ++r) {
            QVariantList row{numberText(qint64(r))};
            for (int k = 1; k <= kEventSlots; ++k)
                row.append(r == 1 ? state.texts.message(141 + k) : dash());
            rows.append(row);
        }
        return rows;
    };
    return initTable(state, init);
}

QList<QVariantList> entryRows(int persons, int relays, bool testMode)
{
    QList<QVariantList> rows;
    const int total = kRounds * (persons + relays);
    rows.reserve(total);
    for (int r = 1; r <= total; ++r) {
        QVariantList row{numberText(qint64(r))};
        for (int k = 1; k <= kEventSlots; ++k)
            row.append(testMode && (k == 1 || k == 13 || k == 35));
        rows.append(row);
    }
    return rows;
}

Status initEntries(AppState &state)
{
    const int p = state.catalogs.personCount;
    const int r = state.catalogs.relayCount;
    const bool test = state.testMode();
    TableInit init{Table::Pamelding, 101, kRounds * (p + r), {}, {}};
    init.rows = [p, r, test] { return entryRows(p, r, test); };
    InitOutcome outcome = InitOutcome::Kept;
    if (Status s = initTable(state, init, &outcome); !s || outcome == InitOutcome::Kept)
        return s;
    // The seed marks belong to the entries they were typed for: with new entries they go too.
    if (state.database.tableExists(kSeedmerker))
        return state.database.exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(kSeedmerker));
    return {};
}

Status initPersons(AppState &state)
{
    const int count = state.catalogs.personCount;
    const bool test = state.testMode();
    TableInit init{Table::Personer, 106, count + 2, {}, {}};
    init.rows = [&state, count, test] {
        QList<QVariantList> rows;
        rows.reserve(count);
        for (int r = 1; r <= count; ++r) {
            QVariantList row{numberText(qint64(r))};
            for (int f = 1; f < kPersonFields; ++f) {
                if (f == 19)
                    row.append(QStringLiteral("1"));
                else if (!test)
                    row.append(dash());
                else if (f == 1)
                    row.append(QStringLiteral("Forn") + QString::number(r));
                else if (f == 2)
                    row.append(QStringLiteral("Etter") + QString::number(r));
                else if (f == 3)
                    row.append(testClubOne(state));
                else if (f == 4)
                    row.append(QStringLiteral("Junior"));
                else
                    row.append(misc(r, f));
            }
            rows.append(row);
        }
        return rows;
    };
    init.fillCatalog = [&state, count, test] {
        for (int r = 1; r <= count && r <= kMaxPersons; ++r) {
            PersonSlot &slot = state.catalogs.persons[size_t(r)];
            slot.startNo = numberText(qint64(r));
            slot.name = test ? QStringLiteral("Etter%1 Forn%1").arg(r) : dash();
            slot.club = test ? testClubOne(state) : dash();
            slot.cls = test ? QStringLiteral("Junior") : dash();
            slot.contingentCode = 1;
        }
    };
    return initTable(state, init);
}

Status initPoints(AppState &state)
{
    TableInit init{Table::Poengoppsett, 112, kPointSetups, {}, {}};
    init.rows = [] {
        QList<QVariantList> rows;
        for (int r = 1; r <= kPointSetups; ++r) {
            QVariantList row{numberText(qint64(r))};
            for (int k = 1; k < kPointFields; ++k)
                row.append(numberText(qint64(41 - k)));
            rows.append(row);
        }
        return rows;
    };
    return initTable(state, init);
}

Status initRelayTeams(AppState &state)
{
    const int count = state.catalogs.relayCount;
    TableInit init{Table::Stafettlag, 110, count, {}, {}};
    init.rows = [count] {
        QList<QVariantList> rows;
        for (int r = 1; r <= count; ++r) {
            QVariantList row{numberText(qint64(r))};
            for (int f = 1; f < kRelayFields; ++f)
                row.append(dash());
            rows.append(row);
        }
        return rows;
    };
    init.fillCatalog = [&state, count] {
        for (int r = 1; r <= count && r <= kMaxRelays; ++r) {
            RelaySlot &slot = state.catalogs.relays[size_t(r)];
            slot.teamNo = numberText(qint64(r));
            slot.club = dash();
            slot.cls = dash();
        }
    };
    return initTable(state, init);
}

QVariantList timingSetupRow()
{
    // Channels 1, 3, 5 register out-times, 2, 4, 6 in-times.
    static const bool flags[16] = {false, false, true,  false, true, false, false, true,
                                   true,  false, false, true,  true, false, false, true};
    QVariantList row;
    for (bool f : flags)
        row.append(f);
    // Fields 16..23, then the polling interval (ms) and the registration delay (ticks).
    // Then the GPIO chip, its input and output lines and the serial device.
    for (const char *t : {"2", "280", "03BC", "0", "TTL 8 BIT I/O", "280", "03BC", "1", "1", "10",
                          "/dev/gpiochip0", "", "", ""})
        row.append(QString::fromLatin1(t));
    return row;
}

Status initTimingSetup(AppState &state)
{
    TableInit init{Table::Tidtakingoppsett, 0, 1, {}, {}};
    init.rows = [] { return QList<QVariantList>{timingSetupRow()}; };
    return initTable(state, init);
}

Status initEventSetups(AppState &state)
{
    TableInit init{Table::Oppsett, 104, kRounds, {}, {}};
    const QString date = state.dateStamp;
    init.rows = [date] {
        QList<QVariantList> rows;
        rows.reserve(kSetupRecords);
        int index = 0;
        for (int round = 1; round <= kRounds; ++round)
            for (int event = 1; event <= kEventSlots; ++event) {
                const bool technical = event <= 12;
                const bool relay = event >= 24 && event <= 28;
                for (int cls = 1; cls <= kClassCount; ++cls) {
                    ++index;
                    rows.append({QString::number(index),
                                 technical ? QStringLiteral("1") : QStringLiteral("0"),
                                 relay ? QStringLiteral("2") : QStringLiteral("0"),
                                 technical ? QStringLiteral("1") : QStringLiteral("0"), QStringLiteral("0"),
                                 date, QStringLiteral("00.00"), QStringLiteral("_"), QStringLiteral("0")});
                }
            }
        return rows;
    };
    return initTable(state, init);
}

Status initAllTables(AppState &state)
{
    for (auto init : {initClasses, initClubs, initEventSetups, initEventNames, initEntries, initPersons,
                      initPoints, initTimingSetup, initRelayTeams}) {
        if (Status s = init(state); !s)
            return s;
    }
    // Every table is there: a new file is marked with the current version, and a table the
    // user chose to keep is brought up to it.
    return migrate(state.database);
}

// ---- checks and migrations ----

namespace {

// Adds timing setup fields first..last - 1 with a new meet's values.
Status addTimingFields(db::Database &database, int first, int last)
{
    const QStringList have = database.fieldNames(kTidtakingoppsett);
    const QVariantList initial = timingSetupRow();
    for (int f = first; f < last; ++f) {
        const QString name = QString::number(f);
        if (have.contains(name))
            continue; // added before there were versions
        if (Status s = database.addField(kTidtakingoppsett, {name, db::FieldType::Text}); !s)
            return s;
        if (Status s = database.exec(QStringLiteral("UPDATE ") + db::quoteIdentifier(kTidtakingoppsett) +
                                         QStringLiteral(" SET ") + db::quoteIdentifier(name) +
                                         QStringLiteral(" = ?"),
                                     {initial[f]});
            !s)
            return s;
    }
    return {};
}

// Migration 1: the timing setup keeps the polling interval and the registration delay.
Status addIntervalAndDelay(db::Database &database)
{
    return addTimingFields(database, kTimingInterval, kTimingDelay + 1);
}

// Migration 2: the timing setup keeps the choices of the GPIO and serial adapters.
Status addEventAdapterFields(db::Database &database)
{
    return addTimingFields(database, kTimingGpioChip, kTimingFields);
}

// Migration 3: the tables of field-event attempts, height cards and combined events, empty.
Status addFieldEventTables(db::Database &database)
{
    for (const auto &[name, fields] : fieldEventTables()) {
        if (database.tableExists(name))
            continue;
        if (Status s = database.createTable(name, db::numberedFields(fields)); !s)
            return s;
    }
    return {};
}

// Migration 4: seed marks, the draws of the grids and the advancement between rounds, in
// tables of their own, so an older meet opens with none of them.
Status addSeedingTables(db::Database &database)
{
    for (const auto &[name, count] :
         {std::pair{kSeedmerker, kSeedmerkerFields}, std::pair{kTrekninger, kTrekningerFields},
          std::pair{kAvansement, kAvansementFields}}) {
        if (database.tableExists(name))
            continue;
        if (Status s = database.createTable(name, db::numberedFields(count)); !s)
            return s;
    }
    return {};
}

// Migration 5: the wind of each heat read from the photo-finish camera gets a table.
Status addHeatWind(db::Database &database)
{
    if (database.tableExists(kVind))
        return {};
    return database.createTable(kVind, db::numberedFields(kHeatWindFields));
}

using Migration = Status (*)(db::Database &);
// Migration n brings a file from version n - 1 to n.
const Migration kMigrations[kSchemaVersion] = {addIntervalAndDelay, addEventAdapterFields,
                                               addFieldEventTables, addSeedingTables, addHeatWind};

} // namespace

QList<std::pair<QString, int>> fieldEventTables()
{
    return {{kForsok, 5}, {kHoyder, 4}, {kHoydekort, 5}, {kMangekamp, 6}};
}

QStringList missingParts(db::Database &database)
{
    QStringList missing;
    const int version = database.schemaVersion();
    if (version >= kFieldEventsVersion) {
        for (const auto &[name, fields] : fieldEventTables()) {
            if (!database.tableExists(name))
                missing << name;
        }
    }
    for (Table t : meetTables()) {
        const QString name = tableName(t);
        if (!database.tableExists(name)) {
            missing << name;
            continue;
        }
        const QStringList have = database.fieldNames(name);
        for (const FieldSpec &f : fieldSpecs(t))
            if (f.since <= version && !have.contains(f.def.name))
                missing << name + u'.' + f.def.name;
    }
    return missing;
}

Status migrate(db::Database &database)
{
    for (int v = database.schemaVersion(); v < kSchemaVersion; ++v) {
        Status s = database.transaction([&]() -> Status {
            if (Status m = kMigrations[v](database); !m)
                return m;
            return database.setSchemaVersion(v + 1);
        });
        if (!s)
            return Status::failure(
                QStringLiteral("cannot bring the meet file up to version %1: ").arg(v + 1) + s.error());
    }
    return {};
}

Status openMeet(db::Database &database, const QString &path, db::FileProblem *problem, QStringList *missing,
                const QString &password)
{
    db::FileProblem p = db::FileProblem::None;
    if (Status s = database.open(path, &p, password); !s) {
        if (problem)
            *problem = p;
        return s;
    }
    Status result;
    QStringList lacks;
    if (database.schemaVersion() > kSchemaVersion) {
        p = db::FileProblem::Newer;
        result = Status::failure(QStringLiteral("the file was made by a newer version: ") + path);
    } else if (lacks = missingParts(database); !lacks.isEmpty()) {
        p = db::FileProblem::Incomplete;
        result = Status::failure(QStringLiteral("the meet file lacks ") + lacks.join(QStringLiteral(", ")) +
                                 QStringLiteral(": ") + path);
    } else {
        result = migrate(database);
    }
    if (!result)
        database.close();
    if (problem)
        *problem = p;
    if (missing)
        *missing = lacks;
    return result;
}

} // namespace arenor::schema
