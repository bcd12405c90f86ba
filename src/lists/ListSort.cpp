#include "ListSort.h"

namespace arenor::lists {

Status SortListFile(AppState &state, const QString &, int, int, int)
{
    return Status::failure(state.texts.message(Text::ListNotMadeYet));
}

bool sortClassListCommand(AppState &state, const events::GridContext &, int)
{
    state.informText(state.texts.message(Text::ResultListNotMadeYet), Icon::Exclamation);
    return false;
}

} // namespace arenor::lists
