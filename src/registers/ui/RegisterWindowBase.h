#pragma once
// What the register windows (competitors, clubs, classes, relay teams, points) share: a record
// form over their table, the data control with its arrows and caption, the jump box, captions
// by number that follow the language switch, wiping fields, the grid command and Lukk.
//
// A window derives from RegisterWindowBase, builds its controls with the helpers below, binds
// each field control with bind(), and fills in its commands; the logic it calls lives in
// src/registers/.

#include "app/ui/ChildWindow.h"
#include "app/ui/RecordForm.h"
#include "db/Schema.h"
#include "registers/RegisterReaders.h"
#include "registers/RegisterRules.h"

#include <QComboBox>
#include <QPointer>
#include <QToolButton>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace arenor {

// The data control: arrows to the first, previous, next and last record around a caption.
class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    explicit RecordNavigator(QWidget *parent = nullptr);
    void setCaption(const QString &caption);
    QString caption() const;
    // Tool tips and accessible names of the arrows.
    void setLanguage(Language language);
    QToolButton *button(int index) const { return m_buttons[size_t(index)]; } // 0 first .. 3 last

signals:
    void first();
    void previous();
    void next();
    void last();

private:
    std::array<QToolButton *, 4> m_buttons{};
    QLabel *m_caption = nullptr;
};

// An editable combo box whose list is built afresh from `source` each time it drops down; the
// text in the box stays as it was. The register windows write their edited records first, so
// a catalogue offered here holds what they show.
class RefillingComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit RefillingComboBox(QWidget *parent = nullptr);
    std::function<QStringList()> source;
    // Fills the list now, as dropping it down does.
    void refill();
    void showPopup() override;
};

// Captions by number, applied again after each language switch.
class CaptionBook {
public:
    // Labels, buttons, group boxes: their text; every widget also gets the plain caption as
    // its accessible name.
    void add(QWidget *widget, int caption);
    void addTab(QTabWidget *tabs, int index, int caption);
    // A widget without a caption of its own: its accessible name from a caption.
    void addName(QWidget *widget, int caption, const QString &suffix = {});
    void apply(const TextTables &texts) const;

private:
    struct Entry {
        QPointer<QWidget> widget;
        int caption;
        int tab; // >= 0: tab index of a QTabWidget
        bool nameOnly;
        QString suffix;
    };
    std::vector<Entry> m_entries;
};

// How a numbered register (competitors, clubs, relay teams: record k holds number k in field
// 0) is kept. A window that sets one gets the commands and record hooks below for free.
struct NumberedRegister {
    std::function<Status(AppState &)> init;                  // "Resett": rebuild the table
    std::function<registers::RegisterRead(AppState &)> read; // "Les": rebuild the catalogue
    // The record number and its rule (registers::recordNumberRefusal) in the form and the grid.
    std::optional<registers::RecordNumber> number;
    // Copies a stored record into its catalogue slot.
    std::function<bool(AppState &, const QVariantList &record)> sync;
    QList<int> wipeFields;      // "Visk"
    QList<int> multiLineFields; // fields that keep their line breaks
};

class RegisterWindowBase : public ChildWindow {
    Q_OBJECT
public:
    // titleCaption: the window title's caption number; navigatorCaption: the data control's;
    // model: a model of the table the meet owns, edited instead of the form's own.
    RegisterWindowBase(WindowId id, AppState &state, MainWindow &main, schema::Table table, int titleCaption,
                       int navigatorCaption, db::RecordModel *model = nullptr);
    ~RegisterWindowBase() override;

    RecordForm &form() { return m_form; }
    RecordNavigator *navigator() const { return m_navigator; }
    QString tableName() const;
    void retranslate() override;

    // The text a bound field control shows (typed but not yet saved included), and setting it.
    QString fieldText(int field) const;
    void setFieldText(int field, const QString &text);
    QWidget *fieldWidget(int field) const;

    // "Visk": "-" into the controls of these fields; written when the record is left.
    void wipeFields(const QList<int> &fields);
    // The commands of a numbered register: "Resett" (the initialiser asks before it replaces
    // the table), "Les" (message 35 on an index error, then the first record), "Visk".
    void resetRegister();
    void readRegister();
    void wipe();
    // "Grid": saves the shown record and opens the grid window over the table. When the grid
    // wrote something, the form re-reads the table and gridChanged() runs.
    void openGrid();
    // "Lukk": hides the window (its frame in the main window).
    void hideWindow();
    // The frame the window sits in: its sub-window in the main window, or itself.
    QWidget *frame();

protected:
    // Binds a field control to a field; single-line text boxes lose line breaks when saved.
    // Bound controls take their place in the tab order in the order they are bound.
    template <typename W> W *bind(W *widget, int field)
    {
        m_form.addMapping(widget, field);
        m_fields[field] = widget;
        m_tabOrder.append(widget);
        return widget;
    }
    QLineEdit *lineEdit(const QString &objectName);
    QLineEdit *boundLineEdit(const QString &objectName, int field);
    // A multi-line text box (Tab moves on rather than typing a tab).
    QPlainTextEdit *boundTextArea(const QString &objectName, int field);
    RefillingComboBox *comboBox(const QString &objectName, std::function<QStringList()> source = {});
    // A label with its buddy (the buddy also takes the label's caption as accessible name).
    QLabel *label(int caption, QWidget *buddy);
    QPushButton *button(int caption, const QString &objectName, std::function<void()> command);
    QGroupBox *groupBox(int caption, const QString &objectName);
    // The jump box: typing a number shows that record; count gives the register size.
    QLineEdit *jumpBox(const QString &objectName, std::function<int()> count);

    // Layout pieces the register windows share.
    // A label and its control side by side, in a grid of label/control column pairs.
    void addField(QGridLayout *grid, int row, int column, int caption, QWidget *control);
    // The row above the fields: record number, jump box, data control.
    QHBoxLayout *numberRow(int numberCaption, QLineEdit *number, int moverCaption, QLineEdit *mover);
    // The tabs "Primær" and "Sekundær" (captions 360, 361), named by a caption; the grids of
    // the two pages come back through primary and secondary.
    QTabWidget *twoTabs(int nameCaption, QGridLayout *&primary, QGridLayout *&secondary);
    // Four telephone numbers in a group: captions first .. first + 3, fields firstField ...
    QGroupBox *phoneGroup(int groupCaption, int firstCaption, int firstField);
    // The command column on the right: groups of buttons under their captions.
    struct Command {
        int caption;
        const char *objectName;
        std::function<void()> run;
    };
    struct CommandGroup {
        int caption;
        const char *objectName;
        std::vector<Command> commands;
    };
    QVBoxLayout *commandColumn(const std::vector<CommandGroup> &groups);
    // Puts a control that is not bound (an option button) next in the tab order.
    void addToTabOrder(QWidget *widget) { m_tabOrder.append(widget); }
    // At the end of the constructor: Tab runs through the bound controls, then the buttons,
    // then the data control's arrows.
    void finishTabOrder();

    void setRegister(NumberedRegister numbered);

    // The shown record is written when the window is closed or hidden.
    void hideEvent(QHideEvent *event) override;

    // Before the shown record is written: the window may check or adjust its controls. By
    // default a number the record may not take is put back to the stored one, with a message.
    virtual void leavingRecord(int row);
    // After the shown record was written (also unchanged): by default the catalogue slot is
    // brought in step and the entries window refreshed when automatic updating is on.
    virtual void recordLeft(int row);
    // After the grid window wrote to the table and the form re-read it: by default the
    // register is read again.
    virtual void gridChanged();
    // Fields whose line breaks are kept (multi-line text boxes).
    virtual QList<int> multiLineFields() const { return m_register.multiLineFields; }

    MainWindow &m_main;
    CaptionBook m_captions;

private:
    void clearFields();
    NumberedRegister m_register;
    schema::Table m_table;
    int m_titleCaption;
    RecordForm m_form;
    RecordNavigator *m_navigator = nullptr;
    std::map<int, QWidget *> m_fields;
    QList<QWidget *> m_tabOrder;
    QList<QWidget *> m_buttons;
};

} // namespace arenor
