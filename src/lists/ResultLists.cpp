#include "ResultLists.h"

namespace arenor::lists {

Status MakeMeetResultsList(AppState &state, const QString &)
{
    return Status::failure(state.texts.message(Text::ListNotMadeYet));
}

bool makeEventListCommand(AppState &state, const events::GridContext &context)
{
    return events::makeClassList(state, context);
}

bool makeEventClassListCommand(AppState &state, const events::GridContext &)
{
    state.informText(state.texts.message(Text::ResultListNotMadeYet), Icon::Exclamation);
    return false;
}

bool showEventListCommand(AppState &state, const events::GridContext &)
{
    state.informText(state.texts.message(Text::ResultListNotMadeYet), Icon::Exclamation);
    return false;
}

} // namespace arenor::lists
