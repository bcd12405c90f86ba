#pragma once
// List documents built by hand, laid out as the meet's text lists are: ":"-separated fields,
// heading and row cells at the position where their text starts.

#include "base/ListDocument.h"

#include <QStringList>

namespace arenor::test {

struct Field {
    int width;
    bool right = false;
};

inline ListDocLine tableLine(ListLineKind kind, const QStringList &values, const QList<Field> &fields)
{
    QString text;
    QList<ListCell> cells;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        text += QStringLiteral(": ");
        const int w = fields[i].width;
        const QString v = values.value(i).left(w);
        if (!v.isEmpty())
            cells.append(
                ListCell{int(text.size()) + 1 + (fields[i].right ? w - int(v.size()) : 0), 0, v, false});
        text += (fields[i].right ? v.rightJustified(w) : v.leftJustified(w)) + u' ';
    }
    return ListDocLine{kind, text + u':', cells};
}

inline const QList<Field> kResultFields{{5, true}, {5, true}, {25}, {12}, {8, true}, {8, true}};
inline const QList<Field> kHeatFields{{4, true}, {4, true}, {5, true}, {5, true}, {5, true},
                                      {25},      {12},      {8, true}, {8, true}};

// A result list of `rows` competitors in the standard layout (heats: the nine-column one),
// with the meet's header block.
inline ListDocument sampleResultList(const QString &title, const QString &round, int rows, bool heats = false,
                                     const QString &kind = QStringLiteral("event"))
{
    ListDocument d;
    d.title = title;
    d.kind = kind;
    d.roundName = round;
    d.fileName = title + QStringLiteral(".txt");
    for (const char *h : {"-----------------------------", ": Stevnenavn  : Vårstevnet   :",
                          ": Dato        : 14.06.2026   :", "-----------------------------"})
        d.add(ListLineKind::Header, QString::fromUtf8(h));
    d.add(ListLineKind::Blank, QString());
    d.add(ListLineKind::Title, title);
    d.add(ListLineKind::Note, QStringLiteral("Dato :14.06.2026 Tid :12.30"));
    const QList<Field> &fields = heats ? kHeatFields : kResultFields;
    const QStringList headings =
        heats ? QStringList{"Heat", "Bane", "Ht.pl", "Øv.pl", "Stnr", "Navn", "Klubb", "Resultat", "Diff."}
              : QStringList{"Øv.pl", "Stnr", "Navn", "Klubb", "Resultat", "Diff."};
    d.lines.append(tableLine(ListLineKind::Columns, headings, fields));
    d.add(ListLineKind::Ruler, QString(80, u'='));
    for (int r = 1; r <= rows; ++r) {
        const QString place = QString::number(r), number = QString::number(100 + r);
        const QString name = QStringLiteral("Åse Ødegård Løper %1").arg(r);
        const QString club = r % 2 ? QStringLiteral("Bjørnevatn IL") : QStringLiteral("Tromsø Friidrett");
        const QString result = QStringLiteral("%1.%2").arg(10 + r / 10).arg(r % 100, 2, 10, QChar(u'0'));
        const QString diff = r == 1 ? QString() : QStringLiteral("0.%1").arg(r % 100, 2, 10, QChar(u'0'));
        d.lines.append(tableLine(ListLineKind::Row,
                                 heats ? QStringList{QString::number(1 + r / 8), QString::number(1 + r % 8),
                                                     place, place, number, name, club, result, diff}
                                       : QStringList{place, number, name, club, result, diff},
                                 fields));
    }
    d.add(ListLineKind::Ruler, QString(80, u'='));
    d.add(ListLineKind::Note, QStringLiteral("Det er funnet %1 deltakere").arg(rows));
    return d;
}

} // namespace arenor::test
