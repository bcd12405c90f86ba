#include "CombinedStandings.h"

#include "events/EventSetup.h"
#include "events/GridColumns.h"
#include "events/GridTable.h"

#include <numeric>

namespace arenor::events {

namespace {

QString say(Language language, const char *norwegian, const char *english)
{
    return QString::fromUtf8(language == Language::Norwegian ? norwegian : english);
}

} // namespace

Status combinedStandings(AppState &state, const CombinedSetup &setup, CombinedStandings &out)
{
    out = {};
    const Language language = state.texts.messageLanguage();
    const ScoringTable &table = ScoringTable::builtIn();
    QList<QList<CombinedMark>> marks; // per competitor, per event
    for (qsizetype e = 0; e < setup.codes.size(); ++e) {
        const ScoringEvent *event = table.find(setup.codes[e], setup.sex, setup.venue);
        if (!event) {
            out.notes << say(language, "%1 finnes ikke i poengtabellen for dette kjønnet og denne arenaen.",
                             "%1 is not in the scoring table for this sex and venue.")
                             .arg(setup.codes[e]);
            continue;
        }
        out.events << *event;
        const int eventNumber = setup.events.value(e);
        const qsizetype column = out.events.size() - 1;
        for (QList<CombinedMark> &m : marks)
            m.resize(column + 1);
        for (QStringList &m : out.marks)
            m.resize(column + 1);
        if (eventNumber < 1 || eventNumber > kEventSlots || setup.cls < 1 || setup.cls > kClassCount) {
            out.notes << say(language, "%1 er ikke knyttet til en øvelse i stevnet.",
                             "%1 is not bound to an event of the meet.")
                             .arg(event->code);
            continue;
        }
        const ListSelection selection = listSelection(state, eventNumber, setup.cls, QStringLiteral("_"));
        const QString grid = gridTableOf(state, selection);
        if (!state.database.tableExists(grid)) {
            out.notes << say(language, "%1: ingen resultatgrid %2 ennå.", "%1: no result grid %2 yet.")
                             .arg(event->code, grid);
            continue;
        }
        QStringList fields;
        std::vector<qint64> rowids;
        std::vector<QVariantList> rows;
        if (Status s = db::readTable(state.database, grid, fields, rowids, rows); !s)
            return s;
        const GridColumns columns(fields);
        const int number = columns.index(ColumnRole::Number);
        const int name = columns.index(ColumnRole::Name);
        const int result = columns.index(ColumnRole::Results);
        if (number < 0 || result < 0) {
            out.notes << say(language, "%1: gridet %2 mangler startnummer eller resultat.",
                             "%1: the grid %2 lacks start number or result.")
                             .arg(event->code, grid);
            continue;
        }
        QStringList setupFields;
        TimeFormat format = TimeFormat::HoursMinutesSeconds;
        if (readSetupRecord(state, setupRecordNumber(state.currentRound, eventNumber, setup.cls),
                            setupFields))
            format = timeFormatFromCode(setupFields.value(SetupTimeFormat).toInt());
        const bool hand = setup.handTimed.contains(event->code, Qt::CaseInsensitive);
        for (const QVariantList &row : rows) {
            const QString n = row.value(number).toString().trimmed();
            if (n.isEmpty() || n == u"0")
                continue;
            qsizetype c = out.numbers.indexOf(n);
            if (c < 0) {
                c = out.numbers.size();
                out.numbers << n;
                out.names << (name >= 0 ? row.value(name).toString() : QString());
                marks << QList<CombinedMark>(column + 1);
                out.marks << QStringList(column + 1);
            }
            const QString text = row.value(result).toString().trimmed();
            out.marks[c][column] = text == kNoResult ? QString() : text;
            marks[c][column] = combinedMark(*event, text, format, hand);
        }
    }
    out.lines = scoreCombined(out.events, marks);
    return {};
}

QStringList combinedListLines(const CombinedSetup &setup, const CombinedStandings &standings,
                              Language language)
{
    QStringList lines;
    lines << setup.name.toUpper() << QString()
          << say(language, "Poeng etter %1", "Points by %1").arg(ScoringTable::builtIn().source())
          << QString();
    QList<int> order(standings.lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return standings.lines[a].place < standings.lines[b].place; });
    for (int c : order) {
        const CombinedLine &line = standings.lines[c];
        lines << QStringLiteral("%1%2 %3 %4  %5")
                     .arg(line.place, 3)
                     .arg(line.tied ? u'=' : u'.')
                     .arg(standings.numbers[c], 5)
                     .arg(standings.names[c].leftJustified(30),
                          QString::number(line.total).rightJustified(5));
        for (qsizetype e = 0; e < standings.events.size(); ++e)
            lines << QStringLiteral("        %1 %2 %3 %4")
                         .arg(standings.events[e].code.leftJustified(6))
                         .arg(standings.marks[c].value(e).leftJustified(9))
                         .arg(line.points.value(e), 5)
                         .arg(line.running.value(e), 6);
        if (const QString note = noMarkNote(standings.events, line, language); !note.isEmpty())
            lines << QStringLiteral("        ") + note;
    }
    if (!standings.notes.isEmpty())
        lines << QString() << standings.notes;
    return lines;
}

} // namespace arenor::events
