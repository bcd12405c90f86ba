#pragma once
// The class window: the 40 class names of Klasser, edited one at a time, and the class pick
// list (the last 40 lines the class reader left). An edited name reaches the table when the
// record is left or confirmed, and the catalogue and list at the next "Oppdater liste".

#include "registers/ui/RegisterWindowBase.h"

class QListWidget;

namespace arenor {

class ClassesWindow : public RegisterWindowBase {
    Q_OBJECT
public:
    ClassesWindow(AppState &state, MainWindow &main);
    ~ClassesWindow() override;

    void resetClasses(); // "&Resett": the standard names of the language, then the list
    void confirm();      // "&Bekreft": writes the shown name
    void updateList();   // "&Oppdater liste"
    QListWidget *list() const { return m_list; }

private:
    void fillList();
    QListWidget *m_list = nullptr;
};

} // namespace arenor
