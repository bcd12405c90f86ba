#include "MeetLists.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "events/EventSetup.h"
#include "lists/ListOutput.h"
#include "lists/ListSort.h"
#include "lists/ListText.h"

#include <QFile>

namespace arenor::lists {

namespace {

constexpr int kWidth = 82;

bool countedClass(const QString &cls)
{
    return !cls.trimmed().isEmpty() && cls.trimmed() != u"-";
}

// The classes 1..40 that have an entrant (competitor or relay team) in the event this round.
QList<int> classesWithEntrants(const AppState &state, int event)
{
    const Catalogs &c = state.catalogs;
    std::array<bool, kClassCount + 1> used{};
    auto add = [&](int row, const QString &cls) {
        if (!countedClass(cls) || !state.entryMatrix.entered(state.currentRound, event, row))
            return;
        for (int k = 1; k <= kClassCount; ++k)
            if (c.classes[size_t(k)] == cls) {
                used[size_t(k)] = true;
                return;
            }
    };
    for (int r = 1; r <= std::clamp(c.personCount, 0, kMaxPersons); ++r)
        add(r, c.persons[size_t(r)].cls);
    for (int t = 1; t <= std::clamp(c.relayCount, 0, kMaxRelays); ++t)
        add(c.personCount + t, c.relays[size_t(t)].cls);
    QList<int> classes;
    for (int k = 1; k <= kClassCount; ++k)
        if (used[size_t(k)])
            classes << k;
    return classes;
}

// Date and start time of an event: those of the first of its classes whose setup was changed
// from a new meet's date stamp and "00.00", else the first class's.
Status eventStart(const AppState &state, const std::vector<QStringList> &setups, int event,
                  const QList<int> &classes, QString &date, QString &time)
{
    for (qsizetype i = 0; i < classes.size(); ++i) {
        const int record = events::setupRecordNumber(state.currentRound, event, classes[i]);
        if (record < 1 || record > int(setups.size()))
            return Status::failure(QStringLiteral("no event setup record ") + QString::number(record));
        const QStringList &fields = setups[size_t(record - 1)];
        const QString d = fields.value(events::SetupDate).trimmed();
        const QString t = fields.value(events::SetupStartTime).trimmed();
        if (i == 0) {
            date = d;
            time = t;
        }
        if ((!t.isEmpty() && t != u"00.00") || (!d.isEmpty() && d != state.dateStamp)) {
            date = d;
            time = t;
            break;
        }
    }
    return {};
}

} // namespace

Status MakeTimeSchedule(AppState &state, const QString &path)
{
    const QString title = state.texts.message(1);
    if (QFile::exists(path) && state.prompt &&
        !state.prompt->askOkCancel(state.texts.message(2), title, Icon::Exclamation, Answer::Cancel))
        return {};
    QStringList header;
    if (Status s = infoHeaderLines(state, header); !s)
        return s;

    using K = ListLineKind;
    ListDocument lines;
    lines.kind = QStringLiteral("schedule");
    lines.title = state.texts.message(99) + state.roundName().toUpper();
    lines.add(K::Title, lines.title);
    addHeaderLines(lines, header);
    lines.add(K::Section, state.texts.message(98));
    addRuler(lines, u'-', kWidth);
    addColumns(lines, state.texts.message(100));
    addRuler(lines, u'=', kWidth);
    const bool separators = state.option(OptSeparators);
    const auto counts = events::eventCounts(state);
    std::vector<QStringList> setups;
    if (Status s = events::readSetupRecords(state, setups); !s)
        return s;
    for (int e = 1; e <= kEventSlots; ++e) {
        const QString name = state.eventNames[size_t(e)].trimmed();
        if (name == u"_" || counts[size_t(e)] == 0)
            continue;
        const QList<int> classes = classesWithEntrants(state, e);
        QStringList names;
        for (int k : classes)
            names << state.catalogs.classes[size_t(k)].trimmed();
        QString date, time;
        if (Status s = eventStart(state, setups, e, classes, date, time); !s)
            return s;
        ListLine row(separators);
        row.separators({1, 9}).text(11, name, 20).separator(32).text(34, names.join(u','), 17).separator(52);
        row.text(54, date, 10).separator(65).text(67, time, 5).separator(73);
        row.number(75, counts[size_t(e)]).separator(kWidth);
        addLine(lines, K::Row, row);
    }
    addRuler(lines, u'=', kWidth);
    if (Status s = writeTextFile(path, lines.textLines()); !s)
        return s;
    // The sorted schedule is told of by the sort; the unsorted one here.
    if (state.prompt && state.prompt->askOkCancel(state.texts.message(24), title))
        return SortListFile(state, path, SortIncreasing, 1, events::TimeFormat::SecondsHundredths,
                            SortTimeSchedule);
    announceList(state, path, std::move(lines));
    return {};
}

} // namespace arenor::lists
