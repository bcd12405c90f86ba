#pragma once
// The entries window ("Startliste"): competitors or relay teams on the left, the 36 event
// slots on three tabs of twelve. A tick is stored in its entry record at once (and in the
// matrix); with the safety lock off the slot names are edited in place and the records can be
// stepped through by hand. A right click on a slot enters or removes the selected group.

#include "registers/Entries.h"
#include "registers/ui/RegisterWindowBase.h"

#include <array>

class QCheckBox;
class QLabel;
class QListWidget;
class QRadioButton;

namespace arenor {

class EntriesWindow : public RegisterWindowBase, public DataBound {
    Q_OBJECT
public:
    EntriesWindow(AppState &state, MainWindow &main);
    ~EntriesWindow() override;

    // RefreshEntryList: the entrant list anew, keeping the selected line where it can.
    void refreshEntryList();
    // SelectListEntry: the entry record of the selected line in the current round.
    void selectListEntry();
    // The entry record shown (1-based; 0 when none) and showing another.
    int shownRecord() const { return m_record; }
    void showEntryRecord(int record);

    void setLocked(bool locked);
    bool locked() const;
    registers::EntryListContent listContent() const;
    void setListContent(registers::EntryListContent content);

    // The buttons of the two "&Registere" groups.
    void resetEventNames(); // "&Resett "
    void readEventNames();  // "&Les": the slot names as the lists use them
    void resetEntries();    // "&Resett": 4 x (P + R) empty records, after the question
    void readEntries();     // "&Les": the current round read from the table again

    // A tick on slot 1..36 (as a click makes it) and the participation of the selection.
    void tick(int event, bool on);
    void openParticipation(int event);
    // "&Bekreft" of the participation window: every selected line, in the current round.
    void applyParticipation(int event, bool takePart);

    QListWidget *list() const { return m_list; }
    QCheckBox *eventBox(int event) const { return m_boxes[size_t(event)]; }
    QLineEdit *nameBox(int event) const { return m_names[size_t(event)]; }
    QLineEdit *entryMover() const { return m_entryMover; }
    QLineEdit *entryIndex() const { return m_entryIndex; }
    QLineEdit *nameRowMover() const { return m_nameMover; }
    // The seed mark of the shown entrant in the event whose box had the focus last (or was
    // ticked): shown, and stored when typed (empty removes it).
    QLineEdit *seedMarkBox() const { return m_seedMark; }
    int seedEvent() const { return m_seedEvent; }
    void setSeedEvent(int event);
    bool storeSeedMark(const QString &mark);

    void retranslate() override;

    // DataBound: another meet (or the same one again) is bound.
    void bindDatabase(db::Database &database) override;
    void unbindDatabase() override;

protected:
    // Opening the window applies the chosen "Show in list" option, as a click on it does: the
    // registers may have changed while it was hidden.
    void showEvent(QShowEvent *event) override;

private:
    void nameChanged(int event, const QString &text);
    void entryMoverEdited(const QString &text);
    void clearBoxes();
    void showSeedMark();

    QListWidget *m_list = nullptr;
    std::array<QRadioButton *, 4> m_options{};
    QCheckBox *m_locker = nullptr;
    std::array<QCheckBox *, kEventSlots + 1> m_boxes{};
    std::array<QLineEdit *, kEventSlots + 1> m_names{};
    QLineEdit *m_nameIndex = nullptr;
    QLineEdit *m_nameMover = nullptr;
    QLineEdit *m_entryIndex = nullptr;
    QLineEdit *m_entryMover = nullptr;
    RecordNavigator *m_entryNavigator = nullptr;
    QPushButton *m_resetNames = nullptr;
    QPushButton *m_resetEntries = nullptr;
    QLineEdit *m_seedMark = nullptr;
    QLabel *m_seedLabel = nullptr;
    int m_seedEvent = 0;
    int m_record = 0;
    bool m_showing = false; // the record's ticks are being shown, not made
};

} // namespace arenor
