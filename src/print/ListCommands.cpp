#include "ListCommands.h"

#include "lists/MeetLists.h"
#include "print/ListPrint.h"

#include <QFileInfo>

namespace arenor::print {

namespace {

bool toldMissing(AppState &state, const QString &path)
{
    state.informText(state.texts.message(Text::NoListToPrint).arg(QFileInfo(path).fileName()),
                     Icon::Exclamation);
    return false;
}

} // namespace

bool meetListForPrint(AppState &state, lists::MeetList list, ListDocument &document)
{
    const QString path =
        state.meetFile(lists::listFileName(list, state.roundTag, state.option(OptLongFileNames)));
    const bool madeAnew = list == lists::MeetList::StartListText;
    if (!madeAnew && !QFileInfo::exists(path))
        return toldMissing(state, path);
    if (Status s = lists::meetListDocument(state, list, document); !s) {
        state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    return true;
}

bool listFileForPrint(AppState &state, const QString &path, ListDocument &document)
{
    if (!QFileInfo::exists(path))
        return toldMissing(state, path);
    if (Status s = lists::listFileDocument(state, path, document); !s) {
        state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    return true;
}

bool saveListAsPdf(AppState &state, const ListDocument &document)
{
    if (!state.prompt)
        return false;
    const QString suggested = QFileInfo(document.fileName).completeBaseName() + QStringLiteral(".pdf");
    const std::optional<QString> chosen = state.prompt->file(
        {plainCaption(state.texts.message(Text::PdfCommand)).remove(u'…').trimmed(), suggested,
         state.texts.message(Text::PdfFilter) + QStringLiteral("|*.pdf"), state.meetDir, true});
    if (!chosen || chosen->isEmpty())
        return false;
    QString path = *chosen;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (Status s = writeListPdf(path, document, pageFrameFor(state)); !s) {
        state.informText(state.texts.message(Text::PdfFailed).arg(path, s.error()), Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace arenor::print
