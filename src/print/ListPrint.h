#pragma once
// A list on paper: the document laid out on A4 pages in a fixed-pitch font, so every print
// position lines up, with the meet, the list and the date at the top of each page, the column
// headings again on every page a table goes on to, rulers and separators drawn as table
// rules, and "Page 2 of 5" at the foot. The same painting serves the printer and the PDF file.

#include "base/ListDocument.h"
#include "base/Status.h"
#include "db/AppState.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace arenor::print {

// What the page header and footer say besides the document.
struct PageFrame {
    QString meetName; // used when the document names no meet
    QString date;     // shown at the top right
    QString pageOf;   // "Page %1 of %2"
};

// The frame of the state's meet: its database's name when a list names no meet, today's
// date, "Page %1 of %2" in the message language.
PageFrame pageFrameFor(const AppState &state);

// The print position count that fits a portrait A4 line at the normal size; wider lists are
// printed in landscape.
constexpr int kPortraitCharacters = 96;

// A4 in portrait, or in landscape when the widest line is wider than a portrait page holds.
QPageLayout pageLayoutFor(const ListDocument &document);

// Lays the document out on the device's pages (as its page layout is now) and paints them
// with the painter, which is active on the device. Returns the number of pages.
int paintList(QPainter &painter, QPagedPaintDevice &device, const ListDocument &document,
              const PageFrame &frame);

// The number of pages the document takes on the device, without painting.
int pageCount(QPagedPaintDevice &device, const ListDocument &document);

// Writes the document as a PDF file: into a temporary file beside it, renamed into place only
// when the whole file is written, so a failure leaves the old file (or none). `pages` gets the
// number of pages.
Status writeListPdf(const QString &path, const ListDocument &document, const PageFrame &frame,
                    int *pages = nullptr);

} // namespace arenor::print
