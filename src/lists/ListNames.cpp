#include "ListNames.h"

namespace arenor::lists {

QString listFileName(MeetList list, const QString &roundTag, bool longNames)
{
    const QString initial = roundTag.left(1);
    const QString txt = QStringLiteral(".txt");
    switch (list) {
    case MeetList::Results:
        return longNames ? QStringLiteral("Hele_stevnet_") + roundTag + txt : QStringLiteral("Al-") + initial + txt;
    case MeetList::Newspaper:
        return longNames ? QStringLiteral("Hele_stevnet_") + roundTag + QStringLiteral("Avis") + txt
                         : QStringLiteral("Av-") + initial + txt;
    case MeetList::StartListText:
        return longNames ? roundTag + QStringLiteral("Innsjekk.txt") : QStringLiteral("På-") + initial + txt;
    case MeetList::Contingent:
        return longNames ? roundTag + QStringLiteral("Kontigent.txt") : QStringLiteral("Ko-") + initial + txt;
    case MeetList::Points:
        return longNames ? QStringLiteral("Poeng_") + roundTag + txt : QStringLiteral("Po-") + initial + txt;
    case MeetList::TimeSchedule:
        return longNames ? roundTag + QStringLiteral("Tidskjema.txt") : QStringLiteral("Ti-") + initial + txt;
    }
    return {};
}

} // namespace arenor::lists
