#include "CsvImport.h"

#include "exchange/RoundGrids.h"

#include "base/Convert.h"
#include "db/Schema.h"
#include "events/ResultArithmetic.h"
#include "registers/Competitors.h"
#include "registers/Entries.h"
#include "registers/RegisterReaders.h"
#include "registers/SeedMarks.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>

namespace arenor::exchange {

using registers::PersonField;

namespace {

QString key(const QString &text)
{
    return text.simplified().toCaseFolded();
}

QString field(const QVariantList &row, int f)
{
    return f < row.size() ? row[f].toString() : QString();
}

bool marked(const QString &cell)
{
    static const QStringList no = {QStringLiteral("0"),    QStringLiteral("-"), QStringLiteral("nei"),
                                   QStringLiteral("no"),   QStringLiteral("n"), QStringLiteral("false"),
                                   QStringLiteral("usann")};
    const QString k = key(cell);
    return !k.isEmpty() && !no.contains(k);
}

bool holdsDigit(const QString &cell)
{
    return std::any_of(cell.begin(), cell.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// In an event column: a lone "1" (or a spreadsheet's true, "-1") is a yes, not a mark of one.
bool entryFlag(const QString &cell)
{
    return marked(cell) && (!holdsDigit(cell) || cell == u"1" || cell == u"-1");
}

} // namespace

std::optional<QString> seedMarkFromCell(const QString &cell)
{
    QString mark = cell.trimmed();
    mark.replace(u':', u'.');
    int parts = 1;
    bool digitBefore = false;
    for (QChar c : std::as_const(mark)) {
        if (c >= u'0' && c <= u'9') {
            digitBefore = true;
            continue;
        }
        if ((c != u'.' && c != u',') || !digitBefore)
            return std::nullopt;
        ++parts;
        digitBefore = false;
    }
    if (!digitBefore || parts > 3)
        return std::nullopt;
    // One or two parts read as a distance whatever the event; three only as a time.
    using events::ResultKind, events::TimeFormat;
    if (parts == 3 && !events::resultValue(ResultKind::Time, TimeFormat::HoursMinutesSeconds, mark) &&
        !events::resultValue(ResultKind::Time, TimeFormat::MinutesSecondsHundredths, mark))
        return std::nullopt;
    return mark;
}

ColumnMap columnForHeading(const QString &heading, const std::array<QString, kEventSlots + 1> &events)
{
    const QString k = key(heading);
    if (k.isEmpty())
        return {};
    for (int e = 1; e <= kEventSlots; ++e)
        if (!freeText(events[size_t(e)]) && key(events[size_t(e)]) == k)
            return {ColumnKind::Event, e};
    static const QList<std::pair<ColumnKind, QStringList>> names = {
        {ColumnKind::StartNo,
         {"startnummer", "startnr", "startnr.", "start nr", "start number", "start no", "start no.", "bib",
          "nr", "nr.", "no", "no.", "number"}},
        {ColumnKind::FirstName, {"fornavn", "first name", "firstname", "given name"}},
        {ColumnKind::Surname, {"etternavn", "surname", "last name", "lastname", "family name"}},
        {ColumnKind::Club, {"klubb", "club", "lag", "team", "forening"}},
        {ColumnKind::Class, {"klasse", "class", "category", "kategori"}},
        {ColumnKind::Sex, {"kjønn", "sex", "gender"}},
        {ColumnKind::Born,
         {"født", "fødselsår", "fødselsdato", "born", "year of birth", "birth year", "date of birth"}},
        {ColumnKind::Events, {"øvelser", "øvelse", "events", "event"}},
        {ColumnKind::SeedMark,
         {"seedingsresultat", "seedingresultat", "seedresultat", "seedingsmerke", "seedmerke", "seed mark",
          "seedmark", "seeding mark", "seed time", "seed", "entry mark", "entry time", "påmeldingsresultat"}},
    };
    for (const auto &[kind, list] : names)
        if (list.contains(k))
            return {kind, 0};
    return {};
}

QString columnCaption(const ColumnMap &map, const AppState &state)
{
    const auto t = [&state](ExText id) { return exchangeText(id, state.texts); };
    switch (map.kind) {
    case ColumnKind::Ignored:
        return t(ExText::ColumnIgnored);
    case ColumnKind::StartNo:
        return t(ExText::ColumnStartNo);
    case ColumnKind::FirstName:
        return t(ExText::ColumnFirstName);
    case ColumnKind::Surname:
        return t(ExText::ColumnSurname);
    case ColumnKind::Club:
        return t(ExText::ColumnClub);
    case ColumnKind::Class:
        return t(ExText::ColumnClass);
    case ColumnKind::Sex:
        return t(ExText::ColumnSex);
    case ColumnKind::Born:
        return t(ExText::ColumnBorn);
    case ColumnKind::Events:
        return t(ExText::ColumnEvents);
    case ColumnKind::SeedMark:
        return t(ExText::ColumnSeedMark);
    case ColumnKind::Event:
        return t(ExText::ColumnEvent)
            .arg(map.event >= 1 && map.event <= kEventSlots ? state.eventNames[size_t(map.event)]
                                                            : QString());
    }
    return {};
}

QString ImportSummary::text(const AppState &state) const
{
    QString s = exchangeText(ExText::Summary, state.texts)
                    .arg(added)
                    .arg(known)
                    .arg(entries)
                    .arg(state.roundName())
                    .arg(newClubs)
                    .arg(newClasses)
                    .arg(skipped.size());
    if (marks > 0)
        s += exchangeText(ExText::SummaryMarks, state.texts).arg(marks);
    const qsizetype shown = std::min<qsizetype>(skipped.size(), 20);
    for (qsizetype i = 0; i < shown; ++i)
        s += u'\n' +
             exchangeText(ExText::LineProblem, state.texts).arg(skipped[i].line).arg(skipped[i].problem);
    if (shown < skipped.size())
        s += QStringLiteral("\n...");
    return s;
}

Status CsvImport::read(const QString &path, const AppState &state)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Status::failure(exchangeText(ExText::FileUnreadable, state.texts).arg(path, f.errorString()));
    return setData(f.readAll(), QFileInfo(path).fileName(), state);
}

Status CsvImport::setData(const QByteArray &bytes, const QString &name, const AppState &state)
{
    m_read = parseCsv(bytes);
    m_heading.clear();
    m_columns.clear();
    if (m_read.error == CsvError::NotText)
        return Status::failure(exchangeText(ExText::FileNotText, state.texts).arg(name));
    if (m_read.error == CsvError::OpenQuote)
        return Status::failure(
            exchangeText(ExText::FileOpenQuote, state.texts).arg(name).arg(m_read.errorLine));
    if (m_read.records.isEmpty())
        return Status::failure(exchangeText(ExText::FileEmpty, state.texts).arg(name));
    m_heading = m_read.records.first();
    for (const QString &h : m_heading)
        m_columns.append(columnForHeading(h, state.eventNames));
    if (m_read.records.size() == 1)
        return Status::failure(exchangeText(ExText::FileOnlyHeading, state.texts));
    return {};
}

QList<QStringList> CsvImport::rows(int first, int count) const
{
    return m_read.records.mid(first + 1, count);
}

void CsvImport::setColumn(int column, const ColumnMap &map)
{
    if (column >= 0 && column < m_columns.size())
        m_columns[column] = map;
}

struct CsvImport::Plan {
    struct Table {
        QString name;
        QStringList fields;
        std::vector<qint64> rowids;
        std::vector<QVariantList> rows;
    };
    Table persons, clubs, classes;
    struct Person {
        int slot = 0;       // 1-based record
        QStringList values; // first name, surname, club, class, sex, born: empty ones are left as stored
        QList<int> events;
        QMap<int, QString> marks; // event -> seed mark
        bool known = false;
    };
    QList<Person> people;
    QMap<int, QString> newClubs;   // record (1-based) -> name
    QMap<int, QString> newClasses; // record (1-based) -> name
    QList<LineCheck> checks;
};

Status CsvImport::plan(AppState &state, Plan &out) const
{
    db::Database &database = state.database;
    auto load = [&database](Plan::Table &t, schema::Table which) {
        t.name = schema::tableName(which);
        return db::readTable(database, t.name, t.fields, t.rowids, t.rows);
    };
    if (Status s = load(out.persons, schema::Table::Personer); !s)
        return s;
    if (Status s = load(out.clubs, schema::Table::Klubber); !s)
        return s;
    if (Status s = load(out.classes, schema::Table::Klasser); !s)
        return s;

    // What the registers hold, kept up to date with what earlier lines add.
    const int personSlots = std::min({int(out.persons.rows.size()), state.catalogs.personCount, kMaxPersons});
    std::vector<QString> personName(size_t(personSlots) + 1); // key "surname first", empty: free
    QHash<QString, int> byNameAndClub;
    for (int p = 1; p <= personSlots; ++p) {
        const QVariantList &r = out.persons.rows[size_t(p - 1)];
        if (freeText(field(r, PersonField::PersonFirstName)) &&
            freeText(field(r, PersonField::PersonSurname)))
            continue;
        personName[size_t(p)] =
            key(field(r, PersonField::PersonSurname) + u' ' + field(r, PersonField::PersonFirstName));
        const QString club = field(r, PersonField::PersonClub);
        byNameAndClub.insert(personName[size_t(p)] + u'\n' + (freeText(club) ? QString() : key(club)), p);
    }
    auto registerNames = [](const Plan::Table &t, int limit, QHash<QString, QString> &names,
                            QList<int> &free) {
        for (int r = 1; r <= std::min(int(t.rows.size()), limit); ++r) {
            const QString name = field(t.rows[size_t(r - 1)], 1);
            if (freeText(name))
                free.append(r);
            else if (!names.contains(key(name)))
                names.insert(key(name), name.trimmed());
        }
    };
    QHash<QString, QString> clubs, classes; // key -> stored spelling
    QList<int> freeClubs, freeClasses;
    registerNames(out.clubs, kMaxClubs, clubs, freeClubs);
    registerNames(out.classes, kClassCount, classes, freeClasses);
    int nextFree = 1;

    const auto t = [&state](ExText id) { return exchangeText(id, state.texts); };
    const qsizetype width = m_heading.size();
    for (qsizetype i = 1; i < m_read.records.size(); ++i) {
        const QStringList &rec = m_read.records[i];
        LineCheck check;
        check.line = m_read.lines.value(i);
        auto refuse = [&](LineStatus status, const QString &problem) {
            check.status = status;
            check.problem = problem;
            out.checks.append(check);
        };
        if (std::all_of(rec.begin(), rec.end(), [](const QString &c) { return c.trimmed().isEmpty(); }))
            continue;
        if (rec.size() != width) {
            refuse(LineStatus::DoesNotParse, t(ExText::LineDoesNotParse).arg(rec.size()).arg(width));
            continue;
        }
        QString startNo, first, surname, club, cls, sex, born;
        QList<int> events;
        QMap<int, QString> marks;
        QString unknown, seedMark, badMark;
        auto takeMark = [&](const QString &cell, int e) {
            if (const std::optional<QString> mark = seedMarkFromCell(cell)) {
                if (e > 0)
                    marks.insert(e, *mark);
                else
                    seedMark = *mark;
            } else if (badMark.isEmpty()) {
                badMark = cell;
            }
        };
        auto addEvent = [&](int e) {
            if (!events.contains(e))
                events.append(e);
        };
        auto eventSlot = [&state](const QString &name) {
            for (int e = 1; e <= kEventSlots; ++e)
                if (!freeText(state.eventNames[size_t(e)]) && key(state.eventNames[size_t(e)]) == key(name))
                    return e;
            return 0;
        };
        for (qsizetype c = 0; c < width; ++c) {
            const QString cell = rec[c].trimmed();
            switch (m_columns[c].kind) {
            case ColumnKind::Ignored:
                break;
            case ColumnKind::StartNo:
                startNo = cell;
                break;
            case ColumnKind::FirstName:
                first = cell;
                break;
            case ColumnKind::Surname:
                surname = cell;
                break;
            case ColumnKind::Club:
                club = cell;
                break;
            case ColumnKind::Class:
                cls = cell;
                break;
            case ColumnKind::Sex:
                sex = cell;
                break;
            case ColumnKind::Born:
                born = cell;
                break;
            case ColumnKind::Event:
                if (entryFlag(cell)) {
                    addEvent(m_columns[c].event);
                } else if (marked(cell)) {
                    addEvent(m_columns[c].event);
                    takeMark(cell, m_columns[c].event);
                }
                break;
            case ColumnKind::SeedMark:
                // "NM", "-" and the like: no mark, nothing wrong.
                if (holdsDigit(cell))
                    takeMark(cell, 0);
                break;
            case ColumnKind::Events: {
                if (cell.isEmpty())
                    break;
                if (const int e = eventSlot(cell)) {
                    addEvent(e);
                    break;
                }
                // Several events in one cell: "|" first (what the export writes), else "," or ";".
                QChar by = u'|';
                for (QChar candidate : {u'|', u',', u';', u'/'})
                    if (cell.contains(candidate)) {
                        by = candidate;
                        break;
                    }
                for (const QString &part : cell.split(by, Qt::SkipEmptyParts)) {
                    if (part.trimmed().isEmpty())
                        continue;
                    if (const int e = eventSlot(part))
                        addEvent(e);
                    else if (unknown.isEmpty())
                        unknown = part.trimmed();
                }
                break;
            }
            }
        }
        if (freeText(club))
            club.clear();
        if (freeText(cls))
            cls.clear();
        if (freeText(first) && freeText(surname)) {
            refuse(LineStatus::NameMissing, t(ExText::NameMissing));
            continue;
        }
        if (!unknown.isEmpty()) {
            refuse(LineStatus::UnknownEvent, t(ExText::UnknownEvent).arg(unknown));
            continue;
        }
        if (!badMark.isEmpty()) {
            refuse(LineStatus::SeedMarkUnreadable, t(ExText::SeedMarkUnreadable).arg(badMark));
            continue;
        }
        if (!seedMark.isEmpty()) {
            if (events.size() != 1) {
                refuse(LineStatus::SeedMarkEvents,
                       t(ExText::SeedMarkEvents).arg(seedMark).arg(events.size()));
                continue;
            }
            marks.insert(events.first(), seedMark);
        }
        if (cls.isEmpty() && !events.isEmpty()) {
            refuse(LineStatus::ClassMissing, t(ExText::ClassMissing));
            continue;
        }
        const QString nameKey = key(surname + u' ' + first);
        Plan::Person person;
        if (!startNo.isEmpty()) {
            bool ok = false;
            const int k = startNo.toInt(&ok);
            if (!ok || k < 1 || k > personSlots) {
                refuse(LineStatus::StartNumberNoSlot,
                       t(ExText::StartNumberNoSlot).arg(startNo).arg(personSlots));
                continue;
            }
            if (!personName[size_t(k)].isEmpty() && personName[size_t(k)] != nameKey) {
                const QVariantList &r = out.persons.rows[size_t(k - 1)];
                QString who =
                    (field(r, PersonField::PersonFirstName) + u' ' + field(r, PersonField::PersonSurname))
                        .trimmed();
                for (const Plan::Person &p : std::as_const(out.people))
                    if (p.slot == k)
                        who = (p.values[0] + u' ' + p.values[1]).trimmed();
                refuse(LineStatus::StartNumberTaken, t(ExText::StartNumberTaken).arg(startNo, who));
                continue;
            }
            person.slot = k;
            person.known = !personName[size_t(k)].isEmpty();
        } else if (const int k = byNameAndClub.value(nameKey + u'\n' + key(club)); k > 0) {
            person.slot = k;
            person.known = true;
        } else {
            while (nextFree <= personSlots && !personName[size_t(nextFree)].isEmpty())
                ++nextFree;
            if (nextFree > personSlots) {
                refuse(LineStatus::RegisterFull, t(ExText::RegisterFull));
                continue;
            }
            person.slot = nextFree;
        }
        // Clubs and classes: the stored spelling, or a free record.
        int clubRecord = 0, classRecord = 0;
        if (!club.isEmpty()) {
            if (clubs.contains(key(club)))
                club = clubs.value(key(club));
            else if (freeClubs.isEmpty()) {
                refuse(LineStatus::ClubRegisterFull, t(ExText::ClubRegisterFull).arg(club));
                continue;
            } else
                clubRecord = freeClubs.first();
        }
        if (!cls.isEmpty()) {
            if (classes.contains(key(cls)))
                cls = classes.value(key(cls));
            else if (freeClasses.isEmpty()) {
                refuse(LineStatus::ClassRegisterFull, t(ExText::ClassRegisterFull).arg(cls));
                continue;
            } else
                classRecord = freeClasses.first();
        }
        if (clubRecord > 0) {
            freeClubs.removeFirst();
            clubs.insert(key(club), club);
            out.newClubs.insert(clubRecord, club);
        }
        if (classRecord > 0) {
            freeClasses.removeFirst();
            classes.insert(key(cls), cls);
            out.newClasses.insert(classRecord, cls);
        }
        personName[size_t(person.slot)] = nameKey;
        byNameAndClub.insert(nameKey + u'\n' + key(club), person.slot);
        person.values = {first, surname, club, cls, sex, born};
        person.events = events;
        person.marks = marks;
        out.people.append(person);
        check.slot = person.slot;
        check.known = person.known;
        out.checks.append(check);
    }
    return {};
}

Status CsvImport::check(AppState &state, QList<LineCheck> &checks) const
{
    Plan p;
    Status s = plan(state, p);
    checks = p.checks;
    return s;
}

Status CsvImport::apply(AppState &state, ImportSummary &summary) const
{
    summary = {};
    Plan p;
    if (Status s = plan(state, p); !s)
        return s;
    for (const LineCheck &c : std::as_const(p.checks))
        if (c.status != LineStatus::Ok)
            summary.skipped.append(c);
    if (p.people.isEmpty())
        return Status::failure(exchangeText(ExText::NothingToImport, state.texts));

    const int round = std::clamp(state.currentRound, 0, kRounds - 1);
    const int entrants = state.catalogs.personCount + state.catalogs.relayCount;
    const QString entriesTable = schema::tableName(schema::Table::Pamelding);
    std::vector<qint64> entryRowids;
    if (Status s = registers::recordRowids(state.database, entriesTable, round * entrants + 1, entrants,
                                           entryRowids);
        !s)
        return s;

    db::Database &database = state.database;
    Status s = database.transaction([&]() -> Status {
        QSqlQuery q(database.handle());
        auto run = [&q](const QString &sql, const QVariantList &binds) -> Status {
            if (!q.prepare(sql))
                return Status::failure(q.lastError().text());
            for (int b = 0; b < binds.size(); ++b)
                q.bindValue(b, db::Database::bindable(binds[b]));
            if (!q.exec())
                return Status::failure(q.lastError().text());
            return {};
        };
        const QString nameField = QStringLiteral("1");
        for (auto [record, name] : p.newClubs.asKeyValueRange())
            if (Status e = run(db::updateByRowidStatement(p.clubs.name, {nameField}),
                               {name, p.clubs.rowids[size_t(record - 1)]});
                !e)
                return e;
        for (auto [record, name] : p.newClasses.asKeyValueRange())
            if (Status e = run(db::updateByRowidStatement(p.classes.name, {nameField}),
                               {name, p.classes.rowids[size_t(record - 1)]});
                !e)
                return e;
        static const int personFields[] = {PersonField::PersonFirstName, PersonField::PersonSurname,
                                           PersonField::PersonClub,      PersonField::PersonClass,
                                           PersonField::PersonSex,       PersonField::PersonBorn};
        QHash<QString, QString> entryStatements;
        for (const Plan::Person &person : std::as_const(p.people)) {
            QStringList fields;
            QVariantList binds;
            for (int f = 0; f < 6; ++f) {
                // A new competitor gets every field; one already there keeps what the file leaves empty.
                if (person.known && person.values[f].isEmpty())
                    continue;
                fields << QString::number(personFields[f]);
                binds << (person.values[f].isEmpty() ? QStringLiteral("-") : person.values[f]);
            }
            binds << p.persons.rowids[size_t(person.slot - 1)];
            if (Status e = run(db::updateByRowidStatement(p.persons.name, fields), binds); !e)
                return e;
            if (!person.events.isEmpty() && person.slot > int(entryRowids.size()))
                return Status::failure(
                    state.texts.caption(Text::EntriesLackRecord).arg(round * entrants + person.slot));
            for (int e : person.events) {
                if (Status x = run(db::updateByRowidStatement(entriesTable, {QString::number(e)}),
                                   {true, entryRowids[size_t(person.slot - 1)]});
                    !x)
                    return x;
                ++summary.entries;
            }
            for (auto [e, mark] : person.marks.asKeyValueRange()) {
                if (Status x = registers::putSeedMark(database, round, e, person.slot, mark); !x)
                    return x;
                ++summary.marks;
            }
            ++(person.known ? summary.known : summary.added);
        }
        return {};
    });
    if (!s) {
        summary = {};
        return s;
    }
    summary.newClubs = int(p.newClubs.size());
    summary.newClasses = int(p.newClasses.size());

    registers::readPersons(state);
    registers::readClubs(state);
    if (!p.newClasses.isEmpty())
        registers::readClasses(state);
    if (state.roundLoaded[size_t(round)])
        registers::loadRoundEntries(state, round);
    emit state.notifier.registerChanged(MeetNotifier::Register::Competitors);
    emit state.notifier.registerChanged(MeetNotifier::Register::Clubs);
    emit state.notifier.entriesChanged(round);
    return {};
}

} // namespace arenor::exchange
