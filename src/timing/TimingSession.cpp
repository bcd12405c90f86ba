#include "TimingSession.h"

#include "base/Convert.h"

#include <algorithm>
#include <cmath>

namespace arenor::timing {

Status TimingSession::readTimes(Direction d)
{
    const Status s = readTimesFile(path(d), list(d), m_counters);
    m_read[size_t(d)] = s.ok();
    return s;
}

Status TimingSession::rewrite(Direction d, TitleStyle style) const
{
    if (!isRead(d))
        return Status::failure(timesFileName(d) + QStringLiteral(" was not read; it is left as it is"));
    return rewriteTimesFile(path(d), list(d), timesFileTitle(d, style));
}

RegisterResult TimingSession::registerTime(Direction d, int channel, const QString &time, bool autoOutNumber)
{
    RegisterResult result;
    if (channel < 1 || channel > kChannels) {
        result.outcome = RegisterResult::BadChannel;
        return result;
    }
    if (!listsRead()) {
        result.outcome = RegisterResult::NotRead;
        return result;
    }
    const bool autoNumber = d == Direction::Out && autoOutNumber;
    QString &box = m_numberBox[size_t(d)];
    if (autoNumber && toDouble(box) == 0)
        box = QStringLiteral("1");
    TimeList &l = list(d);
    if (l.full()) {
        // Nothing is stored and no sequence number is used up: the caller tells the operator
        // the time, which is all that is lost.
        result.outcome = RegisterResult::ListFull;
        result.record = {QString(), time, box, QString()};
        return result;
    }
    TimeRecord r{registrationIndex(channel, m_counters.next(channel)), time, box.left(kNumberWidth),
                 QString()};
    l.records.push_back(r);
    result.record = r;
    if (!autoNumber)
        box.clear();
    m_lastRegistered = time;
    result.fileStatus = rewrite(d, TitleStyle::Registration);
    if (autoNumber)
        box = numberText(toDouble(box) + 1);
    return result;
}

bool TimingSession::resetTimes(Direction d, Prompt &prompt, const TextTables &texts, Status *error)
{
    for (int i = 0; i < 3; ++i)
        if (prompt.message({texts.message(255), texts.message(1), Buttons::YesNo, Icon::Exclamation,
                            Answer::No}) != Answer::Yes)
            return false;
    list(d).clear();
    m_counters.reset();
    Status s = createEmptyTimesFile(path(d), d);
    if (s)
        s = readTimes(d);
    if (error)
        *error = s;
    return true;
}

Status TimingSession::changeNumbers(Direction d, QList<int> rows, Prompt &prompt, const TextTables &texts)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // A question runs an event loop that may register times: the list grows (and moves) under
    // it. So no reference is held across a question; each chosen record is found again after
    // it. The box is emptied first, so a time registered meanwhile does not take its number.
    const QString number = numberBox(d);
    m_numberBox[size_t(d)].clear();
    std::vector<std::pair<int, TimeRecord>> chosen;
    for (int row : rows)
        if (row >= 0 && row < list(d).count())
            chosen.emplace_back(row, list(d).records[size_t(row)]);
    for (const auto &[row, before] : chosen) {
        if (!before.number.isEmpty() && prompt.message({texts.message(2), texts.message(1), Buttons::YesNo,
                                                        Icon::Question, Answer::No}) == Answer::No)
            continue;
        std::vector<TimeRecord> &records = list(d).records;
        auto at = row < int(records.size()) && records[size_t(row)] == before
                      ? records.begin() + row
                      : std::find(records.begin(), records.end(), before);
        if (at == records.end())
            continue; // the list was read anew meanwhile and no longer holds the record
        at->number = number;
        at->message.clear();
    }
    return rewrite(d, TitleStyle::Correction);
}

void TimingSession::keypad(int shownTab, int key)
{
    QString &box = m_numberBox[size_t(keypadTarget(shownTab))];
    if (key >= 0 && key <= 9)
        box = (box + QString::number(key)).left(kNumberWidth);
    else if (key == int(KeypadKey::Clear))
        box.clear();
    else if (key == int(KeypadKey::Cross))
        box = QStringLiteral("XXX");
}

QPair<QString, QString> competitorLabels(const Catalogs &catalogs, const QString &number)
{
    const double v = toDouble(number);
    if (v < 1 || v > catalogs.personCount)
        return {};
    const qint64 n = toRoundedInteger(number, 1, std::min(catalogs.personCount, kMaxPersons));
    const PersonSlot &p = catalogs.persons[size_t(n)];
    return {p.name, p.club + QStringLiteral(", ") + p.cls};
}

QString listFullText(Language language, Direction d, int channel, const QString &time)
{
    const Text list = d == Direction::Out ? Text::OutTimesList : Text::InTimesList;
    return TextTables::text(Text::TimesListFull, language)
        .arg(TextTables::text(list, language), QString::number(kMaxTimes), time, QString::number(channel));
}

QString overflowReadText(Language language, const QString &fileName, int extra)
{
    return TextTables::text(Text::TimesOverflow, language)
        .arg(fileName, QString::number(extra), QString::number(kMaxTimes));
}

} // namespace arenor::timing
