#include "app/CommandLine.h"
#include "app/ListBatch.h"
#include "app/ui/Application.h"
#include "base/Version.h"

#include <QApplication>
#include <QGuiApplication>
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

    if (line.makeListsAsked()) {
        // No window: the lists and PDFs need fonts and painting only, which work offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QString error;
        const QString dir =
            line.parse(QGuiApplication::arguments()) ? line.programDirectory(&error) : QString();
        if (dir.isEmpty()) {
            QTextStream(stderr) << "arenor: " << (error.isEmpty() ? line.error() : error) << '\n';
            return 2;
        }
        return arenor::runListBatch(dir, line.server().isEmpty() ? line.meet() : line.server(),
                                    line.pdfDirectory(), line.publishFolder());
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
    program.openAtStart(line.server());
    program.start();
    return QApplication::exec();
}
