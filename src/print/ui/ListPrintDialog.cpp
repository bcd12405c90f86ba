#include "ListPrintDialog.h"

#include "print/ListPrint.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
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
        state.informText(state.texts.message(Text::PrintFailed).arg(printer.printerName()),
                         Icon::Exclamation);
}

namespace {

QChar mnemonicIn(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

} // namespace

void setCaptionWithFreeMnemonic(QAbstractButton &button, const QString &caption, const QWidget &scope)
{
    QString taken;
    const QWidget *window = &scope;
    // Hidden controls (a navigator the window does not show) take no letter.
    for (const QAbstractButton *other : window->findChildren<QAbstractButton *>())
        if (other != &button && other->isVisibleTo(window))
            taken += mnemonicIn(other->text());
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (label->isVisibleTo(window))
            taken += mnemonicIn(label->text());
    for (const QGroupBox *group : window->findChildren<QGroupBox *>())
        if (group->isVisibleTo(window))
            taken += mnemonicIn(group->title());
    const QChar wanted = mnemonicIn(caption);
    if (wanted.isNull() || !taken.contains(wanted)) {
        button.setText(caption);
        return;
    }
    QString plain = caption;
    plain.remove(plain.indexOf(u'&'), 1);
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i].isLetter() && !taken.contains(plain[i].toLower())) {
            button.setText(plain.left(i) + u'&' + plain.mid(i));
            return;
        }
    }
    button.setText(caption); // every letter taken: the usual one, reached by pressing it again
}

} // namespace arenor::print
