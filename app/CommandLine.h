#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. The window's options and the batch
// commands' options are listed together, so "kalvex --help" tells every one of them.
class CCommandLine
{
public:
    enum class Action {
        Run, // open the window (with the files given)
        Help,
        Version,
        Unknown, // an option nobody knows: the message and the help's first lines, exit 2
    };
    static constexpr int kUnknownExit = 2;

    // Before QApplication has taken Qt's own options ("-platform xcb") out, they leave the
    // action Run with nothing else read; read again afterwards.
    explicit CCommandLine(const QStringList& arguments);

    Action What() const { return m_action; }
    QString Language() const { return m_language; }
    bool TestCamera() const { return m_bTestCamera; }
    // What the "Pictures" camera plays (a folder, "slice_%02d.jpg", a glob); empty: none.
    QString CameraFiles() const { return m_cameraFiles; }
    // Its frames a second as written ("5", "2.5"); empty: the default.
    QString CameraFps() const { return m_cameraFps; }
    QStringList Files() const { return m_files; }
    // "Unknown option 'x'." as Qt words it.
    QString Error() const { return m_error; }

    // One line per option, in the language installed when called.
    static QString HelpText();
    // The usage line and the description: what an unknown option prints before its exit.
    static QString HelpHead();
    static QString VersionText();
    // Every option as written on the command line ("--fuse", "-o, --output"), for the man page's
    // check.
    static QStringList OptionNames();

private:
    Action m_action = Action::Run;
    QString m_language;
    bool m_bTestCamera = false;
    QString m_cameraFiles;
    QString m_cameraFps;
    QStringList m_files;
    QString m_error;
};
