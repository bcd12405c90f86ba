#include "MeetLists.h"

namespace arenor::lists {

Status MakeTimeSchedule(AppState &state, const QString &)
{
    return Status::failure(state.texts.message(Text::ListNotMadeYet));
}

} // namespace arenor::lists
