// Every list of the largest meet (3000 competitors, 50 relay teams, 36 events, 40 classes),
// made one after another (a class list, its sorting, an event list, the meet results list and
// the six meet lists): under 0.5 s in all. The meet results list of the round, joining the
// class lists of 36 events x 40 classes (joined into event lists first): under 100 ms. Every
// list of a meet on the server of PGHOST: under 1 s.
#include "lists/ListNames.h"
#include "lists/ListSort.h"
#include "lists/MeetLists.h"
#include "lists/ResultLists.h"

#include <QFile>

#include "BenchSupport.h"

using namespace arenor;
using namespace arenor::lists;

namespace {

// The test-mode meet spread over every club, class and event: each competitor in three events,
// each relay team in the last one; the 1440 class lists made once.
struct ListsMeet : bench::TestModeMeet {
    std::mt19937 random{7};
    bool made = false;

    explicit ListsMeet(bool server = false) : bench::TestModeMeet(server)
    {
        state.roundTag = QStringLiteral("Finale_");
        state.currentRound = 3;
        state.options[OptSeparators] = state.options[OptDifferences] = 1;
        state.bindDataControls();
        Catalogs &c = state.catalogs;
        for (int k = 1; k <= kClassCount; ++k)
            c.classes[size_t(k)] = QStringLiteral("Klasse_%1").arg(k);
        for (int e = 1; e <= kEventSlots; ++e)
            state.eventNames[size_t(e)] = QStringLiteral("Ovelse%1").arg(e);
        state.entryMatrix.clearRound(3);
        state.entryMatrix.persons = c.personCount;
        state.entryMatrix.relays = c.relayCount;
        for (int p = 1; p <= c.personCount; ++p) {
            PersonSlot &slot = c.persons[size_t(p)];
            slot.club = c.clubs[size_t(p % c.clubCount + 1)];
            slot.cls = c.classes[size_t(p % kClassCount + 1)];
            for (int e : {p % 36 + 1, (p + 7) % 36 + 1, (p + 19) % 36 + 1})
                state.entryMatrix.set(3, e, p, true);
        }
        for (int t = 1; t <= c.relayCount; ++t) {
            c.relays[size_t(t)].club = c.clubs[size_t(t)];
            c.relays[size_t(t)].cls = c.classes[1];
            state.entryMatrix.set(3, kEventSlots, c.personCount + t, true);
        }
        made = makeClassLists();
    }

    events::ListSelection selection(int event, int cls) const
    {
        return {state.roundTag, event, state.eventNames[size_t(event)], QStringLiteral("_"), cls,
                state.catalogs.classes[size_t(cls)]};
    }

    bool makeClassLists()
    {
        for (int e = 1; e <= kEventSlots; ++e) {
            for (int k = 1; k <= kClassCount; ++k) {
                EventListRequest request;
                request.selection = selection(e, k);
                request.category = 2;
                const QString path = state.meetFile(events::ClassListName(state.texts, request.selection, false));
                if (!MakeEventList(state, path, request, random))
                    return false;
            }
        }
        return true;
    }

    bool joinRound()
    {
        for (int e = 1; e <= kEventSlots; ++e) {
            const events::ListSelection s = selection(e, 1);
            if (!MakeEventClassList(state, state.meetFile(events::EventListName(state.texts, s, false)), s))
                return false;
        }
        return bool(MakeMeetResultsList(state, path(MeetList::Results)));
    }

    QString path(MeetList list) const { return state.meetFile(listFileName(list, state.roundTag, false)); }
};

} // namespace

// The event lists of 36 events joined from their 40 class lists each, then the meet results
// list from them (range 1), or the meet results list alone (range 0).
static void BM_MeetResultsList(benchmark::State &st)
{
    ListsMeet meet;
    if (!meet.made || !meet.joinRound())
        st.SkipWithError("class lists not made");
    for (auto _ : st) {
        const bool ok = st.range(0) ? meet.joinRound()
                                    : bool(MakeMeetResultsList(meet.state, meet.path(MeetList::Results)));
        if (!ok)
            st.SkipWithError("join failed");
    }
}
BENCHMARK(BM_MeetResultsList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_EveryListOfTheMeet(benchmark::State &st, bool server)
{
    if (!bench::serverReady(st, server))
        return;
    ListsMeet meet(server);
    if (!meet.made || !meet.joinRound())
        st.SkipWithError("class lists not made");
    AppState &s = meet.state;
    for (auto _ : st) {
        // The class list of one class and its sorting, then the event, round and meet lists.
        EventListRequest request;
        request.selection = meet.selection(1, 2);
        const QString classList = s.meetFile(events::ClassListName(s.texts, request.selection, false));
        bool ok = bool(MakeEventList(s, classList, request, meet.random));
        ok = ok &&
             SortListFile(s, classList, SortByName, 2, events::TimeFormat::SecondsHundredths, SortResultList);
        ok = ok && MakeEventClassList(s, s.meetFile(events::EventListName(s.texts, request.selection, false)),
                                      request.selection);
        ok = ok && MakeMeetResultsList(s, meet.path(MeetList::Results));
        ok = ok && MakeStartListText(s, meet.path(MeetList::StartListText));
        // The lists of the round before are replaced (overwrite is not the default answer);
        // the unscripted question sorts the time schedule by time.
        for (MeetList list : {MeetList::Contingent, MeetList::TimeSchedule})
            if (QFile::exists(meet.path(list)))
                meet.prompt.setNextAnswer(Answer::Ok);
        meet.prompt.setNextInput(QStringLiteral("25"));
        ok = ok && MakeContingentList(s, meet.path(MeetList::Contingent));
        ok = ok && MakePointsList(s, meet.path(MeetList::Points));
        ok = ok && MakeTimeSchedule(s, meet.path(MeetList::TimeSchedule));
        ok = ok && MakeNewspaperList(s, meet.path(MeetList::Newspaper));
        meet.prompt.clear();
        if (!ok)
            st.SkipWithError("a list failed");
    }
}
BENCHMARK_CAPTURE(BM_EveryListOfTheMeet, file, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EveryListOfTheMeet, server_goal_1s, true)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
