#include "ListPrintDialog.h"

#include "print/ListCommands.h"
#include "print/ListPrint.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace arenor::print {

void printWithPreview(QWidget *parent, AppState &state, const ListDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayoutFor(document));
    printer.setDocName(document.title);
    printer.setCreator(QStringLiteral("Arenor"));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("printPreviewDialog"));
    preview.setWindowTitle(plainCaption(state.texts.message(Text::PrintCommand)) + QStringLiteral(" ") +
                           document.title);
    const PageFrame frame = pageFrameFor(state);
    bool failed = false;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter *device) {
        QPainter painter;
        if (!painter.begin(device)) {
            failed = true;
            return;
        }
        paintList(painter, *device, document, frame);
        painter.end();
    });
    preview.exec();
    if (failed || printer.printerState() == QPrinter::Error)
        state.informText(state.texts.message(Text::PrintFailed).arg(printer.printerName()), Icon::Exclamation);
}

void addPrintCommands(QMenu &menu, QWidget *parent, AppState &state, DocumentSource document)
{
    auto *print = menu.addAction(QString());
    print->setObjectName(QStringLiteral("printListAction"));
    QObject::connect(print, &QAction::triggered, parent, [parent, &state, document] {
        ListDocument d;
        if (document(d))
            printWithPreview(parent, state, d);
    });
    auto *pdf = menu.addAction(QString());
    pdf->setObjectName(QStringLiteral("pdfListAction"));
    QObject::connect(pdf, &QAction::triggered, parent, [&state, document] {
        ListDocument d;
        if (document(d))
            saveListAsPdf(state, d);
    });
    retranslatePrintCommands(menu, state);
}

void retranslatePrintCommands(QMenu &menu, const AppState &state)
{
    for (QAction *a : menu.actions()) {
        if (a->objectName() == u"printListAction")
            a->setText(state.texts.message(Text::PrintCommand));
        else if (a->objectName() == u"pdfListAction")
            a->setText(state.texts.message(Text::PdfCommand));
    }
}

} // namespace arenor::print
