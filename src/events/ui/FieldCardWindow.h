#pragma once
// The field card of one grid: the attempts of a horizontal jump or throw (with a wind per
// attempt where the event measures it), or the height card of a vertical jump, typed as the
// officials call them, with best mark, wind and place kept up to date by the rules. "Save to
// results" writes the best marks and places into the grid.

#include "base/ListDocument.h"
#include "db/AppState.h"
#include "events/FieldEventStore.h"
#include "events/GridTable.h"

#include <QAbstractTableModel>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace arenor {

// The card as a table: one row per competitor of the grid.
class FieldCardModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kAttempts = 6;

    FieldCardModel(AppState &state, const QString &table, QObject *parent = nullptr);

    // Reads competitors and what is stored for them; false with the reason in *error.
    bool load(QString *error);
    bool vertical() const { return m_vertical; }
    void setVertical(bool vertical);
    bool wind() const { return m_wind; }
    void setWind(bool wind);
    int finalistCount() const { return m_finalists; }
    void setFinalistCount(int count);
    // The bar heights and jump-off heights as typed ("1.50 1.55"): refused with a message when
    // a height does not read, the card breaks the rules, or typed attempts would lose their height.
    bool setHeights(const QString &heights, const QString &jumpOff, QString *error);
    QString heightsText(bool jumpOff) const;

    // Best marks (with wind) and places in competitor order, as the grid gets them.
    QStringList results() const;
    QList<events::FieldPlace> places() const;
    const QList<events::FieldCompetitor> &competitors() const { return m_competitors; }
    // The order of rounds 4 to 6 by start number.
    QStringList finalOrder() const;
    // The card as lines for the officials, headed by heading.
    QStringList cardLines(const QString &heading) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

signals:
    // A typed text was not taken, with the reason.
    void refused(const QString &message);

private:
    enum class Cell { Number, Name, Attempt, Wind, JumpOff, Best, BestWind, Place };
    std::pair<Cell, int> cellOf(int column) const;
    Language language() const;
    void recompute();

    AppState &m_state;
    QString m_table;
    bool m_vertical = false;
    bool m_wind = false;
    int m_finalists = 8;
    QList<events::FieldCompetitor> m_competitors;
    QList<QList<events::Attempt>> m_series;
    events::HeightCard m_card;
    QList<events::FieldPlace> m_places;
    QList<bool> m_inFinal;
};

class FieldCardWindow : public QWidget {
    Q_OBJECT
public:
    FieldCardWindow(AppState &state, const events::GridContext &context, const QString &table,
                    QWidget *parent = nullptr);

    FieldCardModel &model() { return m_model; }
    // "Save to results": best marks and places into the grid; false, telling why, when not.
    bool saveToResults();
    // "Card in editor": the card as a text file of the meet shown in the editor.
    bool printCard();
    // The card as a list document, for printing and PDF.
    ListDocument cardDocument() const;

signals:
    void resultsWritten();

private:
    QString cardPath() const;
    void applyCaptions();
    void showMode();

    AppState &m_state;
    QString m_table;
    QString m_heading;
    FieldCardModel m_model;
    QComboBox *m_kind;
    QSpinBox *m_finalists;
    QCheckBox *m_wind;
    QLineEdit *m_heights;
    QLineEdit *m_jumpOff;
    QTableView *m_view;
    QLabel *m_message;
    QList<QLabel *> m_labels;
    QPushButton *m_order;
    QPushButton *m_save;
    QPushButton *m_print;
    QPushButton *m_printList;
    QPushButton *m_pdf;
    QPushButton *m_close;
};

} // namespace arenor
