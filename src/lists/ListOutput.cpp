#include "ListOutput.h"

#include "base/TextFile.h"

#include <QFileInfo>

namespace arenor::lists {

Status writeList(AppState &state, const QString &path, ListDocument document)
{
    if (Status s = writeTextFile(path, document.textLines()); !s)
        return s;
    announceList(state, path, std::move(document));
    return {};
}

void announceList(AppState &state, const QString &path, ListDocument document)
{
    document.fileName = QFileInfo(path).fileName();
    if (document.roundName.isEmpty())
        document.roundName = state.roundName();
    emit state.notifier.listMade(document, path);
}

} // namespace arenor::lists
