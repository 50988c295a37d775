#include "app/CommandLine.h"
#include "app/MessageBoxes.h"
#include "app/SettingsLocation.h"
#include "app/SignalWatcher.h"
#include "app/SingleInstance.h"
#include "app/TavoMeasureDlg.h"
#include "app/TranslationLoader.h"
#include "base/UserMessages.h"
#include "capture/TavoGraphDll.h"
#include "count/CountCommand.h"
#include "app/RulerCommand.h"
#include "imgproc/FuseCommand.h"

#include <QApplication>
#include <QFile>

#include <iostream>

namespace {

// Help, version or an unknown option: what is printed, and the exit code.
int Answer(const CCommandLine& line)
{
    switch (line.What()) {
    case CCommandLine::Action::Help:
        std::cout << CCommandLine::HelpText().toLocal8Bit().constData();
        return 0;
    case CCommandLine::Action::Version:
        std::cout << CCommandLine::VersionText().toLocal8Bit().constData();
        return 0;
    default:
        std::cerr << "kalvex: " << line.Error().toLocal8Bit().constData() << "\n"
                  << CCommandLine::HelpHead().toLocal8Bit().constData();
        return CCommandLine::kUnknownExit;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    // "kalvex --fuse ...": a batch fusion without window, display or single instance.
    if (CFuseCommand::Requested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return CFuseCommand().Run(CFuseCommand::Arguments(argc, argv), std::cout, std::cerr);
    }
    // "kalvex --count ...": counts the objects of one picture into a CSV file.
    if (CCountCommand::Requested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return CCountCommand().Run(CFuseCommand::Arguments(argc, argv), std::cout, std::cerr);
    }

    // "kalvex --scale-from-ruler FILE --division 10um": the scale of a stage micrometer.
    if (CRulerCommand::Requested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return CRulerCommand().Run(CFuseCommand::Arguments(argc, argv), std::cout, std::cerr);
    }

    // Help, version and unknown options are answered without a display.
    CCommandLine line(CFuseCommand::Arguments(argc, argv));
    if (line.What() != CCommandLine::Action::Run) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("kalvex"));
        CTranslationLoader::Install(app, line.Language());
        return Answer(line);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvex"));
    QApplication::setApplicationVersion(QStringLiteral(KALVEX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kalvex"));
    line = CCommandLine(QApplication::arguments());
    CTranslationLoader::Install(app, line.Language());
    if (line.What() != CCommandLine::Action::Run)
        return Answer(line);
    if (line.TestCamera())
        qputenv("KALVEX_TEST_CAMERA", "1");
    // The capture library lists the "Pictures" camera from these, as it does the pattern.
    if (!line.CameraFiles().isEmpty())
        qputenv("KALVEX_CAMERA_FILES", QFile::encodeName(line.CameraFiles()));
    if (!line.CameraFps().isEmpty())
        qputenv("KALVEX_CAMERA_FPS", line.CameraFps().toUtf8());

    // Installed first: a SIGTERM during start-up is held until the window can close normally.
    CSignalWatcher signalWatcher;

    // A second start wakes the first (or hands it its files) and ends without touching the
    // settings.
    CSingleInstance instance;
    const bool first = instance.Acquire(line.Files());
    if (!instance.Problem().isEmpty())
        std::cerr << "kalvex: " << instance.Problem().toLocal8Bit().constData() << std::endl;
    if (!first)
        return 0;

    // Installed before the window is made, so that nothing it says on the way is lost, and
    // ended after it.
    CMessageBoxes messages;
    CTavoMeasureDlg mainWindow(CSettingsLocation::SettingsPath());
    messages.SetMainWindow(&mainWindow);
    // The capture library's errors are the program's messages like any other.
    mainWindow.Graph().SetErrorSink([](const QString& caption, const QString& text) {
        UserMessages().Error({ .text = text, .caption = caption });
    });
    QObject::connect(
            &instance, &CSingleInstance::wakeUpRequested, &mainWindow, &CTavoMeasureDlg::OnWakeUp);
    QObject::connect(&instance, &CSingleInstance::openRequested, &mainWindow,
            &CTavoMeasureDlg::OnOpenRequested);
    QObject::connect(&signalWatcher, &CSignalWatcher::terminationRequested, &mainWindow,
            &CTavoMeasureDlg::CloseOnSignal);
    mainWindow.Initialise();
    // "kalvex FILE": the first picture that can be read becomes the still image.
    for (const QString& file : line.Files()) {
        if (mainWindow.OpenStillPicture(file))
            break;
        qWarning("kalvex: cannot read %s", qPrintable(file));
    }
    return app.exec();
}
