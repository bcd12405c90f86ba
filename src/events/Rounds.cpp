#include "Rounds.h"

#include "registers/Entries.h"

namespace arenor::events {

void selectRound(AppState &state, int round)
{
    if (round < 0 || round >= kRounds)
        return;
    BusyScope busy(state.progressSink());
    state.currentRound = round;
    state.setRoundTag(round);
    registers::ensureEntryLayout(state);
    if (!state.roundLoaded[size_t(round)] && state.database.isOpen()) {
        const registers::RoundLoad load = registers::loadRoundEntries(state, round);
        state.roundLoaded[size_t(round)] = true;
        // A table that cannot be read at all is as broken as a short one: the same advice.
        if (!load.status || load.indexError)
            state.inform(35);
    }
    emit state.notifier.roundChanged(round);
}

void rereadCurrentRound(AppState &state)
{
    const int round = state.currentRound;
    if (round < 0 || round >= kRounds)
        return;
    state.roundLoaded[size_t(round)] = false;
    selectRound(state, round);
}

} // namespace arenor::events
