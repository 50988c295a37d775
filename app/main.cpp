#include "app/SettingsLocation.h"
#include "app/SignalWatcher.h"
#include "app/SingleInstance.h"
#include "app/TavoMeasureDlg.h"
#include "app/TranslationLoader.h"
#include "count/CountCommand.h"
#include "imgproc/FuseCommand.h"

#include <QApplication>
#include <QCommandLineParser>

#include <iostream>

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

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvex"));
    QApplication::setApplicationVersion(QStringLiteral(KALVEX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kalvex"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kalvex: live picture and measurement for "
                                                    "USB microscopes"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption langOption(QStringLiteral("lang"),
            QStringLiteral("User interface language (en, zh_CN)."), QStringLiteral("language"));
    const QCommandLineOption testCameraOption(QStringLiteral("test-camera"),
            QStringLiteral("List the built-in Test Pattern camera."));
    parser.addOption(langOption);
    parser.addOption(testCameraOption);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Pictures to open."),
            QStringLiteral("[FILE...]"));
    parser.process(app);

    if (parser.isSet(testCameraOption))
        qputenv("KALVEX_TEST_CAMERA", "1");
    CTranslationLoader::Install(app, parser.value(langOption));

    // Installed first: a SIGTERM during start-up is held until the window can close normally.
    CSignalWatcher signalWatcher;

    // A second start wakes the first (or hands it its files) and ends without touching the
    // settings.
    CSingleInstance instance;
    const bool first = instance.Acquire(parser.positionalArguments());
    if (!instance.Problem().isEmpty())
        std::cerr << "kalvex: " << instance.Problem().toLocal8Bit().constData() << std::endl;
    if (!first)
        return 0;

    CTavoMeasureDlg mainWindow(CSettingsLocation::SettingsPath());
    QObject::connect(
            &instance, &CSingleInstance::wakeUpRequested, &mainWindow, &CTavoMeasureDlg::OnWakeUp);
    QObject::connect(&instance, &CSingleInstance::openRequested, &mainWindow,
            &CTavoMeasureDlg::OnOpenRequested);
    QObject::connect(&signalWatcher, &CSignalWatcher::terminationRequested, &mainWindow,
            &CTavoMeasureDlg::CloseOnSignal);
    mainWindow.Initialise();
    // "kalvex FILE": the first picture that can be read becomes the still image.
    for (const QString& file : parser.positionalArguments()) {
        if (mainWindow.OpenStillPicture(file))
            break;
        qWarning("kalvex: cannot read %s", qPrintable(file));
    }
    return app.exec();
}
