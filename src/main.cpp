#include "app/ui/Application.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Arenor"));
    QString error;
    const QString dir = arenor::programDirectoryFromArguments(QApplication::arguments(), &error);
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
