#include "GridAdvance.h"

#include "registers/Entries.h"
#include "registers/SeedMarks.h"

#include <QRegularExpression>
#include <QSet>

namespace arenor::events {

Status readHeatRows(AppState &state, const QString &table, QList<HeatRow> &rows)
{
    QStringList fields;
    std::vector<qint64> rowids;
    std::vector<QVariantList> values;
    if (!state.database.isOpen() || !state.database.tableExists(table))
        return Status::failure(state.texts.message(Text::GridMissing).arg(table));
    if (Status s = db::readTable(state.database, table, fields, rowids, values); !s)
        return s;
    int heat = -1, place = -1, number = -1, result = -1;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        switch (columnRole(fields[i]).role) {
        case ColumnRole::Heat:
            heat = int(i);
            break;
        case ColumnRole::HeatPlace:
            place = int(i);
            break;
        case ColumnRole::Number:
            number = int(i);
            break;
        case ColumnRole::Results:
            result = int(i);
            break;
        default:
            break;
        }
    }
    if (heat < 0 || place < 0 || number < 0 || result < 0)
        return Status::failure(state.texts.message(Text::AdvanceNotHeats));
    rows.clear();
    for (size_t r = 0; r < values.size(); ++r) {
        const QVariantList &v = values[r];
        rows.append({int(r), v[number].toString().trimmed().toInt(), v[heat].toString().trimmed().toInt(),
                     v[place].toString().trimmed().toInt(), v[result].toString()});
    }
    return {};
}

namespace {

// Start numbers typed with blanks or commas; nullopt for a word that is no number.
std::optional<QList<int>> typedNumbers(const QString &text, QList<bool> *signs = nullptr)
{
    QList<int> numbers;
    for (QString word : text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts)) {
        bool in = true;
        if (signs) {
            if (!word.startsWith(u'+') && !word.startsWith(u'-'))
                return std::nullopt;
            in = word.startsWith(u'+');
            word = word.mid(1);
        }
        bool ok = false;
        const int n = word.toInt(&ok);
        if (!ok || n < 1)
            return std::nullopt;
        numbers << n;
        if (signs)
            *signs << in;
    }
    return numbers;
}

QString numberList(const QList<int> &numbers)
{
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

QString tieText(const TextTables &texts, const Tie &tie)
{
    if (tie.heat > 0)
        return texts.message(Text::AdvanceTiePlace)
            .arg(QString::number(tie.heat), QString::number(tie.place), QString::number(tie.openPlaces),
                 numberList(tie.numbers));
    return texts.message(Text::AdvanceTieTime)
        .arg(tie.result, QString::number(tie.openPlaces), numberList(tie.numbers));
}

// The referee's answer to one tie: every tied row advances, or the typed ones do. False on
// Cancel.
bool settleTie(AppState &state, const Tie &tie, QHash<int, Decision> &decisions)
{
    const TextTables &texts = state.texts;
    const QString title = texts.message(Text::AdvanceTitle);
    const QString what = tieText(texts, tie);
    if (state.prompt->askYesNo(texts.message(Text::AdvanceTieQuestion).arg(what), title, Icon::Question)) {
        for (int id : tie.ids)
            decisions.insert(id, Decision::Advance);
        return true;
    }
    QString prompt =
        what + u'\n' +
        texts.message(Text::AdvancePickPrompt).arg(QString::number(tie.openPlaces), numberList(tie.numbers));
    for (;;) {
        const std::optional<QString> answer = state.prompt->input({prompt, title, QString()});
        if (!answer)
            return false;
        const std::optional<QList<int>> picked = typedNumbers(*answer);
        bool fits = picked && picked->size() == tie.openPlaces &&
                    QSet<int>(picked->begin(), picked->end()).size() == picked->size();
        for (qsizetype i = 0; fits && i < picked->size(); ++i)
            fits = tie.numbers.contains(picked->at(i));
        if (fits) {
            for (qsizetype i = 0; i < tie.ids.size(); ++i)
                decisions.insert(tie.ids[i],
                                 picked->contains(tie.numbers[i]) ? Decision::Advance : Decision::Drop);
            return true;
        }
        state.informText(
            texts.message(Text::AdvancePickBad)
                .arg(answer->trimmed(), QString::number(tie.openPlaces), numberList(tie.numbers)),
            Icon::Exclamation);
    }
}

} // namespace

GridAdvanceOutcome advanceFromGrid(AppState &state, const GridContext &context, const QString &table)
{
    GridAdvanceOutcome outcome;
    const TextTables &texts = state.texts;
    const QString title = texts.message(Text::AdvanceTitle);
    if (!state.prompt)
        return outcome;
    if (gridLayoutOf(context.type) != ListType::Heat) {
        state.informText(texts.message(Text::AdvanceNotHeats), Icon::Exclamation);
        return outcome;
    }
    const int round = state.currentRound, next = round + 1;
    if (next >= kRounds) {
        state.informText(texts.message(Text::AdvanceLastRound), Icon::Exclamation);
        return outcome;
    }
    QList<HeatRow> rows;
    if (Status s = readHeatRows(state, table, rows); !s) {
        state.informText(s.error(), Icon::Exclamation);
        return outcome;
    }

    std::optional<AdvanceRule> rule;
    for (QString typed = QStringLiteral("2+2"); !rule;) {
        const std::optional<QString> answer =
            state.prompt->input({texts.message(Text::AdvanceRulePrompt), title, typed});
        if (!answer)
            return outcome;
        if (!(rule = parseAdvanceRule(*answer))) {
            state.informText(texts.message(Text::AdvanceRuleBad).arg(answer->trimmed()), Icon::Exclamation);
            typed = *answer;
        }
    }

    QHash<int, Decision> decisions;
    Advancement a = advance(rows, *rule, context.kind(), context.format, decisions);
    while (!a.complete()) {
        if (!settleTie(state, a.ties.front(), decisions))
            return outcome;
        a = advance(rows, *rule, context.kind(), context.format, decisions);
    }

    // The referee's overrides: start numbers of the grid, put in or taken out.
    QHash<int, bool> overrides;
    for (QString typed;;) {
        const std::optional<QString> answer =
            state.prompt->input({texts.message(Text::AdvanceOverridePrompt), title, typed});
        if (!answer)
            break;
        QList<bool> signs;
        const std::optional<QList<int>> numbers = typedNumbers(*answer, &signs);
        bool known = numbers.has_value();
        QHash<int, bool> wanted;
        for (qsizetype i = 0; known && i < numbers->size(); ++i) {
            const auto row = std::find_if(rows.cbegin(), rows.cend(),
                                          [n = numbers->at(i)](const HeatRow &r) { return r.number == n; });
            known = row != rows.cend();
            if (known)
                wanted.insert(row->id, signs[i]);
        }
        if (known) {
            overrides = wanted;
            break;
        }
        state.informText(texts.message(Text::AdvanceOverrideBad).arg(answer->trimmed()), Icon::Exclamation);
        typed = *answer;
    }
    if (!overrides.isEmpty())
        a = advance(rows, *rule, context.kind(), context.format, decisions, overrides);

    // What is kept with the grid: every advancer, and every row the referee kept out.
    QList<AdvanceRecord> records;
    QList<int> advancingSlots;
    for (const Advancer &x : a.advancers) {
        const HeatRow &r = rows[x.id];
        const QString how = x.qualifier == Qualifier::Referee ? QStringLiteral("referee")
                            : x.decided                       ? QStringLiteral("tie")
                            : x.qualifier == Qualifier::Place ? QStringLiteral("place")
                                                              : QStringLiteral("time");
        records.append({r.number, x.qualifier, how});
        if (r.number >= 1 && r.number <= state.catalogs.personCount)
            advancingSlots << r.number;
    }
    for (auto it = decisions.cbegin(); it != decisions.cend(); ++it)
        if (*it == Decision::Drop && !overrides.value(it.key(), false))
            records.append({rows[it.key()].number, Qualifier::None, QStringLiteral("tie")});
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        if (!*it)
            records.append({rows[it.key()].number, Qualifier::None, QStringLiteral("referee")});

    // Rows that advanced at an earlier run and no longer do leave the next round again.
    const QHash<int, AdvanceRecord> before = readAdvancement(state.database, table);
    std::vector<int> leaving;
    for (const AdvanceRecord &r : before)
        if (r.qualifier != Qualifier::None && !advancingSlots.contains(r.number) && r.number >= 1 &&
            r.number <= state.catalogs.personCount)
            leaving.push_back(r.number);

    const int event = context.selection.event;
    Status s = storeAdvancement(state.database, table, *rule, records);
    if (s)
        s = registers::setEntries(state, next, event, leaving, false);
    if (s)
        s = registers::setEntries(state, next, event,
                                  std::vector<int>(advancingSlots.begin(), advancingSlots.end()), true);
    if (s)
        s = registers::writeSeedRanks(state.database, next, event, advancingSlots);
    if (!s) {
        state.informText(s.error(), Icon::Exclamation);
        return outcome;
    }
    state.notifier.entriesChanged(next);

    QStringList told;
    for (const Notice &n : a.notices)
        told << noticeText(texts, n);
    told << texts.message(Text::AdvanceDone)
                .arg(QString::number(advancingSlots.size()), state.texts.roundName(next));
    state.informText(told.join(u'\n'), Icon::Information);
    outcome.done = true;
    outcome.advanced = int(advancingSlots.size());
    outcome.marks = readAdvancement(state.database, table);
    return outcome;
}

} // namespace arenor::events
