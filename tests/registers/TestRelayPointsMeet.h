#pragma once
// A meet database with one register window bound to it, as after start-up: the fixture of
// the relay team and points window tests.

#include "TestSupport.h"

#include "app/MainCommands.h"
#include "app/ui/MainWindow.h"
#include "db/Schema.h"

#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

namespace arenor::test {

template <typename Window> struct WindowMeet {
    TestMeet meet;
    AppState &state = meet.state;
    MainCommands commands{meet.state};
    MainWindow main{meet.state, commands};
    std::unique_ptr<Window> window;
    schema::Table table;

    // fill runs on the new database before the window is bound and the registers are read.
    WindowMeet(schema::Table shown, int persons, int relays, int clubs,
               const std::function<void(AppState &)> &fill = {},
               const std::function<void(AppState &)> &read = {})
        : table(shown)
    {
        meet.makeDatabase(persons, relays, clubs);
        if (fill) fill(state);
        window = std::make_unique<Window>(state, main);
        window->retranslate();
        state.bindDataControls();
        if (read) read(state);
        window->show();
        meet.prompt.clear();
    }

    template <typename T> T *child(const char *name)
    {
        T *c = window->template findChild<T *>(QString::fromLatin1(name));
        if (!c) qFatal("no %s", name);
        return c;
    }
    // Field `field` of record `record` (from 1) of the window's table, as stored.
    QString stored(int record, int field)
    {
        db::Recordset rs;
        if (!rs.open(state.database, schema::tableName(state, table))) return QStringLiteral("<no table>");
        rs.moveTo(record - 1);
        return rs.text(field);
    }
    void click(const char *button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
};

} // namespace arenor::test
