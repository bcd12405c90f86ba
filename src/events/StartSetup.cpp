#include "StartSetup.h"

#include "base/Convert.h"
#include "timing/TimeFileHeader.h"
#include "timing/TimeList.h"

#include <QRegularExpression>

namespace arenor::events {

namespace {

constexpr int kMaxRecords = 3000;

QString say(Language language, const char *norwegian, const char *english)
{
    return QString::fromUtf8(language == Language::Norwegian ? norwegian : english);
}

// A whole number of at least 1 written with digits only, else 0.
int positiveNumber(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*\\d{1,6}\\s*$"));
    return digits.match(text).hasMatch() ? int(toInteger(text, 0, 999999)) : 0;
}

// The time in the format's smallest unit as seconds-based steps: hours.minutes.seconds counts
// seconds; the other formats count hundredths.
struct Clock {
    TimeFormat format;
    qint64 unitsPerSecond() const { return format == TimeFormat::HoursMinutesSeconds ? 1 : 100; }
    qint64 last() const
    {
        switch (format) {
        case TimeFormat::HoursMinutesSeconds:
            return 24 * 3600 - 1;
        case TimeFormat::MinutesSecondsHundredths:
            return (99 * 60 + 59) * 100 + 99;
        default:
            return 99 * 100 + 99;
        }
    }
    std::optional<qint64> read(const QString &text) const
    {
        static const QRegularExpression three(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{2})\\.(\\d{2})\\s*$"));
        static const QRegularExpression two(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{2})\\s*$"));
        const QRegularExpressionMatch m = (format == TimeFormat::SecondsHundredths ? two : three).match(text);
        if (!m.hasMatch())
            return std::nullopt;
        const qint64 a = m.captured(1).toInt(), b = m.captured(2).toInt();
        if (format == TimeFormat::SecondsHundredths)
            return a * 100 + b;
        const qint64 c = m.captured(3).toInt();
        if (b > 59 || (format == TimeFormat::HoursMinutesSeconds && (c > 59 || a > 23)))
            return std::nullopt;
        return format == TimeFormat::HoursMinutesSeconds ? (a * 60 + b) * 60 + c : (a * 60 + b) * 100 + c;
    }
    QString write(qint64 v) const
    {
        auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
        if (format == TimeFormat::SecondsHundredths)
            return two(v / 100) + u'.' + two(v % 100);
        if (format == TimeFormat::HoursMinutesSeconds)
            return two(v / 3600) + u'.' + two(v / 60 % 60) + u'.' + two(v % 60);
        return two(v / 6000) + u'.' + two(v / 100 % 60) + u'.' + two(v % 100);
    }
};

} // namespace

QString designStartTime(TimeFormat format)
{
    return format == TimeFormat::SecondsHundredths ? QStringLiteral("00.00") : QStringLiteral("00.00.00");
}

Status startTimes(const StartSetupRequest &request, int count, QStringList &times, Language language)
{
    times.clear();
    const Clock clock{request.format};
    const std::optional<qint64> first = clock.read(request.startTime);
    if (!first)
        return Status::failure(say(language, "Starttidspunktet må skrives som ", "Write the start time as ") +
                               designStartTime(request.format) + u'.');
    const int interval = request.staggered ? positiveNumber(request.interval) : 0;
    const int group = request.staggered ? positiveNumber(request.groupSize) : 1;
    if (request.staggered && interval < 1)
        return Status::failure(say(language, "Intervallet må være et helt antall sekunder, minst 1.",
                                   "The interval must be a whole number of seconds, at least 1."));
    if (request.staggered && group < 1)
        return Status::failure(say(language, "Antall i grupper må være et helt tall, minst 1.",
                                   "The number in groups must be a whole number, at least 1."));
    const qint64 step = qint64(interval) * clock.unitsPerSecond();
    times.reserve(count);
    for (int i = 0; i < count; ++i) {
        const qint64 time = *first + qint64(i / group) * step;
        times << (time <= clock.last() ? clock.write(time) : QString());
    }
    return {};
}

QString startsWithoutTimeText(const QStringList &numbers, TimeFormat format, Language language)
{
    if (numbers.isEmpty())
        return {};
    const QString first = numbers.first().trimmed();
    const QString last = numbers.last().trimmed();
    const Clock clock{format};
    return TextTables::text(Text::StartsWithoutTime, language)
        .arg(first == last ? first : first + u'\u2013' + last, clock.write(clock.last()));
}

Status gridStartTimes(const StartSetupRequest &request, const QStringList &numbers, bool byNumber,
                      QStringList &times, Language language, QString *notice)
{
    QStringList left;
    if (!byNumber) {
        if (Status s = startTimes(request, int(numbers.size()), times, language); !s)
            return s;
        for (qsizetype r = 0; r < numbers.size(); ++r)
            if (times[r].isEmpty())
                left << numbers[r];
    } else {
        int highest = 0;
        for (const QString &n : numbers)
            highest = std::max(highest, int(toInteger(n, 0, kMaxRecords)));
        QStringList positions;
        if (Status s = startTimes(request, highest, positions, language); !s)
            return s;
        times.clear();
        // A row without a valid start number keeps no time of its own.
        QList<int> late;
        for (const QString &n : numbers) {
            const int k = int(toInteger(n, 0, kMaxRecords));
            times << (k >= 1 ? positions[k - 1] : QString());
            if (k >= 1 && positions[k - 1].isEmpty())
                late << k;
        }
        // The rows need not follow their numbers: name the lowest and the highest.
        std::sort(late.begin(), late.end());
        for (int k : late)
            left << QString::number(k);
    }
    if (notice)
        *notice = startsWithoutTimeText(left, request.format, language);
    return {};
}

Status writeStartTimesFile(const QString &path, const StartSetupRequest &request, int competitors,
                           Language language, QString *notice)
{
    if (competitors > kMaxRecords)
        return Status::failure(say(language, "Tidfilen rommer 3000 starttider; møtet har ",
                                   "The time file holds 3000 start times; the meet has ") +
                               QString::number(competitors) + say(language, " deltakere.", " competitors."));
    QStringList times;
    if (Status s = startTimes(request, competitors, times, language); !s)
        return s;
    timing::TimeList list;
    list.records.reserve(size_t(competitors));
    QStringList left;
    for (int i = 1; i <= competitors; ++i) {
        if (times[i - 1].isEmpty())
            left << QString::number(i);
        else
            list.records.push_back(
                {QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')), times[i - 1], QString::number(i), {}});
    }
    if (Status s = timing::rewriteTimesFile(
            path, list, timing::timesFileTitle(timing::Direction::Out, timing::TitleStyle::Correction));
        !s)
        return s;
    if (notice)
        *notice = startsWithoutTimeText(left, request.format, language);
    return {};
}

} // namespace arenor::events
