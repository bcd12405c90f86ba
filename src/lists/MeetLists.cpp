#include "MeetLists.h"

namespace arenor::lists {

Status MakeStartListText(AppState &state, const QString &)
{
    return Status::failure(state.texts.message(Text::ListNotMadeYet));
}

Status MakeContingentList(AppState &state, const QString &)
{
    return Status::failure(state.texts.message(Text::ListNotMadeYet));
}

Status MakePointsList(AppState &state, const QString &)
{
    return Status::failure(state.texts.message(Text::ListNotMadeYet));
}

Status MakeNewspaperList(AppState &state, const QString &)
{
    return Status::failure(state.texts.message(Text::ListNotMadeYet));
}

} // namespace arenor::lists
