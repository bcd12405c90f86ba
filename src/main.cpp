#include "app/CommandLine.h"
#include "app/ui/Application.h"
#include "base/Version.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Arenor"));
    QApplication::setApplicationVersion(QLatin1String(arenor::kProgramVersion));
    // The desktop matches the window to the installed desktop entry, and so to its icon.
    QApplication::setDesktopFileName(QLatin1String(arenor::kDesktopFileName));

    // Help and version are answered before the application object exists: no display needed.
    arenor::CommandLine line;
    line.parse(arenor::CommandLine::argumentsOf(argc, argv));
    if (line.helpAsked() || line.versionAsked()) {
        QTextStream(stdout) << (line.helpAsked() ? line.helpText() : line.versionText());
        return 0;
    }

    QApplication app(argc, argv);
    // Read again without the options Qt has taken for itself (-platform, -style, ...).
    QString error;
    QString dir;
    if (line.parse(QApplication::arguments()))
        dir = line.programDirectory(&error);
    else
        error = line.error();
    if (dir.isEmpty()) {
        QTextStream(stderr) << "arenor: " << error << '\n';
        return 2;
    }
    arenor::Application program(dir);
    if (!program.claimDirectory())
        return 0;
    program.start();
    return QApplication::exec();
}
