#pragma once
// The meet every register test shares: a test-mode database (names "Etter3 Forn3", club
// "Klubb 1") with its register windows bound and the registers read, as after start-up.

#include "TestSupport.h"

#include "app/MainCommands.h"
#include "app/ui/MainWindow.h"
#include "db/Schema.h"
#include "registers/RegisterReaders.h"
#include "registers/ui/ClassesWindow.h"
#include "registers/ui/ClubsWindow.h"
#include "registers/ui/CompetitorsWindow.h"
#include "registers/ui/PointsWindow.h"
#include "registers/ui/RelayWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace arenor::test {

struct RegistersMeet {
    TestMeet meet;
    AppState &state = meet.state;
    ScriptedPrompt &prompt = meet.prompt;
    MainCommands commands{state};
    MainWindow main{state, commands};
    CompetitorsWindow competitors{state, main};
    ClubsWindow clubs{state, main};
    ClassesWindow classes{state, main};
    RelayWindow relays{state, main};
    PointsWindow points{state, main};

    RegistersMeet()
    {
        state.options[OptTestMode] = 1;
        meet.makeDatabase(6, 3, 3);
        state.bindDataControls();
        registers::readRegisters(state);
        for (RegisterWindowBase *w : all()) {
            w->retranslate();
            w->show();
        }
        prompt.clear();
    }
    std::vector<RegisterWindowBase *> all() { return {&competitors, &clubs, &classes, &relays, &points}; }

    template <typename T = QLineEdit> static T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        if (!c)
            qFatal("no %s", name);
        return c;
    }
    static void click(QWidget *w, const char *button)
    {
        QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
    }
    QString stored(schema::Table table, int record, int field)
    {
        return storedText(state, schema::tableName(state, table), record, field);
    }
};

} // namespace arenor::test
