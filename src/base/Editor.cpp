#include "Editor.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace arenor {

QString editorCommandFor(EditorChoice choice)
{
    switch (choice) {
    case EditorChoice::Notepad:
        return QStringLiteral("Notepad.exe ");
    case EditorChoice::Wordpad:
        return QStringLiteral("Write.exe ");
    case EditorChoice::Word:
        return QStringLiteral("Winword.exe ");
    }
    return defaultEditorCommand();
}

QStringList ProcessEditorLauncher::resolve(const QString &command)
{
    const QString env = qEnvironmentVariable("ARENOR_EDITOR");
    if (!env.isEmpty()) {
        QStringList parts = QProcess::splitCommand(env);
        if (!parts.isEmpty())
            return parts;
    }
    const QString key = command.trimmed().toLower();
    // Plain text editors first for "Notepad", word processors for the other two; each list
    // ends in the desktop's own opener.
    QList<QStringList> candidates;
    if (key.startsWith(QLatin1String("winword"))) {
        candidates = {{"libreoffice", "--writer"}, {"abiword"}, {"xdg-open"}};
    } else if (key.startsWith(QLatin1String("write"))) {
        candidates = {{"abiword"}, {"libreoffice", "--writer"}, {"xdg-open"}};
    } else {
        candidates = {{"mousepad"}, {"gedit"}, {"gnome-text-editor"}, {"kate"}, {"xed"},
                      {"pluma"},    {"featherpad"}, {"leafpad"}, {"xdg-open"}};
    }
    for (const QStringList &c : candidates) {
        const QString path = QStandardPaths::findExecutable(c.first());
        if (!path.isEmpty()) {
            QStringList out = c;
            out[0] = path;
            return out;
        }
    }
    return {};
}

bool ProcessEditorLauncher::start(const EditorLaunch &launch)
{
    QStringList args = resolve(launch.command);
    if (args.isEmpty())
        return false;
    const QString program = args.takeFirst();
    args << QFileInfo(launch.file).absoluteFilePath();
    return QProcess::startDetached(program, args);
}

} // namespace arenor
