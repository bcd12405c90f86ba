#pragma once
// Starting the external text editor on a file, detached and without a shell.

#include <QString>
#include <QStringList>

namespace arenor {

// The three editor choices of the options window, and the command each stores.
enum class EditorChoice { Notepad = 0, Wordpad = 1, Word = 2 };
QString editorCommandFor(EditorChoice choice); // "Notepad.exe ", "Write.exe ", "Winword.exe "
inline QString defaultEditorCommand() { return QStringLiteral("NotePad.exe "); }

struct EditorLaunch {
    QString command; // the stored editor command, e.g. "NotePad.exe "
    QString file;    // full path of the file to show
    bool maximised = false;
};

class EditorLauncher {
public:
    virtual ~EditorLauncher() = default;
    // Starts the editor and returns at once; false when no program could be started.
    virtual bool start(const EditorLaunch &launch) = 0;
};

// Maps the stored command onto an installed Linux program (see the README) and starts it
// with QProcess::startDetached. ARENOR_EDITOR, when set, names the program to use instead.
class ProcessEditorLauncher : public EditorLauncher {
public:
    bool start(const EditorLaunch &launch) override;
    // The program and leading arguments the command maps to on this machine; empty when
    // none of the candidates is installed.
    static QStringList resolve(const QString &command);
};

} // namespace arenor
