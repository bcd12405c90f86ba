#include "EventSetup.h"

#include "base/Convert.h"
#include "db/Schema.h"
#include "registers/Entries.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace arenor::events {

namespace {

QString setupTable(const AppState &state)
{
    return schema::tableName(state, schema::Table::Oppsett);
}

QString countLine(int count, const QString &name)
{
    return numberText(qint64(count)) + (count > 0 ? QStringLiteral("> ") : QStringLiteral("  ")) + name +
           u',';
}

bool counted(const QString &cls)
{
    return cls.trimmed() != QLatin1String("-");
}

} // namespace

int setupRecordNumber(int round, int event, int cls)
{
    return round * kEventSlots * kClassCount + (event - 1) * kClassCount + cls;
}

std::optional<int> setupMoverTarget(const QString &text)
{
    const qint64 n = toInteger(text, -1, schema::kSetupRecords + 1);
    if (n < 1 || n > schema::kSetupRecords)
        return std::nullopt;
    return int(n);
}

std::optional<int> storedOption(const QString &text, int count)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0 || n >= count)
        return std::nullopt;
    return n;
}

QList<SetupField> missingOptions(const SetupOptions &options, bool sorts)
{
    QList<SetupField> missing;
    if (!sorts && !options.listType)
        missing << SetupListType;
    if (!options.category)
        missing << SetupCategory;
    // Only a run reads its results as times.
    if (options.category == 0 && !options.timeFormat)
        missing << SetupTimeFormat;
    if (sorts && !options.sorting)
        missing << SetupSorting;
    return missing;
}

QString clampedHelpColumns(const QString &text)
{
    const double v = toDouble(text);
    if (v > 5)
        return QStringLiteral("5");
    if (v < 0)
        return QStringLiteral("0");
    return text;
}

std::optional<bool> timeFormatsEnabled(int category)
{
    if (category == 0)
        return true;
    if (category == 1)
        return false;
    return std::nullopt;
}

QStringList variantTexts()
{
    return {QStringLiteral("_"),        QStringLiteral("_400_g_"),  QStringLiteral("_600_g_"),
            QStringLiteral("_800_g_"),  QStringLiteral("_1000_g_"), QStringLiteral("_1500_g_"),
            QStringLiteral("_2000_g_"), QStringLiteral("_3000_g_"), QStringLiteral("_4000_g_"),
            QStringLiteral("_5500_g_"), QStringLiteral("_7250_g_")};
}

std::array<int, kEventSlots + 1> eventCounts(const AppState &state)
{
    std::array<int, kEventSlots + 1> counts{};
    const Catalogs &c = state.catalogs;
    const EntryMatrix &m = state.entryMatrix;
    const int round = state.currentRound;
    const int persons = std::clamp(c.personCount, 0, kMaxPersons);
    const int relays = std::clamp(c.relayCount, 0, kMaxRelays);
    // Which rows count at all does not depend on the event: decide it once.
    std::vector<int> rows;
    rows.reserve(size_t(persons + relays));
    for (int r = 1; r <= persons; ++r)
        if (counted(c.persons[size_t(r)].cls))
            rows.push_back(r);
    for (int t = 1; t <= relays; ++t)
        if (counted(c.relays[size_t(t)].cls))
            rows.push_back(c.personCount + t);
    for (int e = 1; e <= kEventSlots; ++e)
        for (int r : rows)
            counts[size_t(e)] += m.entered(round, e, r) ? 1 : 0;
    return counts;
}

QStringList eventListLines(const AppState &state)
{
    const auto counts = eventCounts(state);
    QStringList lines;
    lines.reserve(kEventSlots);
    for (int e = 1; e <= kEventSlots; ++e)
        lines << countLine(counts[size_t(e)], state.eventNames[size_t(e)]);
    return lines;
}

QStringList classListLines(const AppState &state, int event, bool relays)
{
    const Catalogs &c = state.catalogs;
    const EntryMatrix &m = state.entryMatrix;
    const int round = state.currentRound;
    std::array<int, kClassCount + 1> counts{};
    auto add = [&](int row, const QString &cls) {
        if (!m.entered(round, event, row) || !counted(cls))
            return;
        for (int k = 1; k <= kClassCount; ++k)
            if (c.classes[size_t(k)] == cls) {
                ++counts[size_t(k)];
                return;
            }
    };
    if (relays) {
        for (int t = 1; t <= std::clamp(c.relayCount, 0, kMaxRelays); ++t)
            add(c.personCount + t, c.relays[size_t(t)].cls);
    } else {
        for (int r = 1; r <= std::clamp(c.personCount, 0, kMaxPersons); ++r)
            add(r, c.persons[size_t(r)].cls);
    }
    QStringList lines;
    for (int k = 1; k <= kClassCount; ++k)
        lines << countLine(counts[size_t(k)], c.classes[size_t(k)]);
    return lines;
}

ListSelection listSelection(const AppState &state, int event, int cls, const QString &variant)
{
    ListSelection s;
    s.roundTag = state.roundTag;
    s.event = std::clamp(event, 0, kEventSlots);
    s.eventName = state.eventNames[size_t(s.event)];
    s.variant = variant;
    s.classNumber = std::clamp(cls, 0, kMaxClassSlots);
    s.className = state.catalogs.classes[size_t(s.classNumber)];
    return s;
}

QString gridTableName(const AppState &state, int event, int cls, const QString &variant)
{
    return gridTableName(state.texts, listSelection(state, event, cls, variant),
                         state.option(OptLongFileNames));
}

QString setupStatusText(const AppState &state, int event, int cls, const QString &variant)
{
    const QString eventName =
        event >= 1 && event <= kEventSlots ? state.eventNames[size_t(event)] : QString();
    const QString className =
        cls >= 1 && cls <= kMaxClassSlots ? state.catalogs.classes[size_t(cls)] : QString();
    return state.roundTag + eventName + variant.trimmed() + className;
}

namespace {
QString missingSetupText(int record)
{
    return QStringLiteral("no event setup record ") + QString::number(record);
}
} // namespace

Status readSetupRecords(AppState &state, std::vector<QStringList> &records)
{
    records.clear();
    QStringList names;
    std::vector<qint64> rowids;
    std::vector<QVariantList> rows;
    if (Status s = db::readTable(state.database, setupTable(state), names, rowids, rows); !s)
        return s;
    records.reserve(rows.size());
    for (const QVariantList &row : rows) {
        QStringList fields;
        for (const QVariant &v : row)
            fields << v.toString();
        while (fields.size() < schema::kSetupFields)
            fields << QString();
        records.push_back(std::move(fields));
    }
    return {};
}

Status readSetupRecord(AppState &state, int record, QStringList &fields)
{
    fields.clear();
    QSqlQuery q;
    if (Status s =
            registers::selectRecord(state.database, setupTable(state), record, q, missingSetupText(record));
        !s)
        return s;
    for (int i = 0; i < q.record().count(); ++i)
        fields << q.value(i).toString();
    while (fields.size() < schema::kSetupFields)
        fields << QString();
    return {};
}

Status writeSetupField(AppState &state, int record, int field, const QString &value)
{
    return registers::writeRecordField(state.database, setupTable(state), record, field, value,
                                       missingSetupText(record));
}

} // namespace arenor::events
