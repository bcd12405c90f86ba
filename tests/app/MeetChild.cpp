// A second program for the tests that need two processes: "make DIR" makes the default meet
// of program directory DIR the way start-up does (and is killed by the test at some moment);
// "lock DIR" holds DIR's program lock until it is killed.
#include "app/ProgramLock.h"
#include "app/StartUp.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return 2;
    if (args[1] == QLatin1String("lock")) {
        arenor::ProgramLock lock(args[2]);
        if (!lock.tryLock())
            return 1;
        std::puts("locked");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(1);
    }
    arenor::AppState state;
    state.programDir = args[2];
    state.setMeetDirectory();
    return arenor::ensureMeetDatabase(state).status.ok() ? 0 : 1;
}
