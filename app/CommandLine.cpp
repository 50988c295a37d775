#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

namespace {

struct COptionSpec
{
    const char* names; // "o,output": the short name first
    const char* valueName; // null for a switch
    const char* description;
};

// Every option of the program, the batch commands' too. Descriptions stay short: each option is
// one line of the help.
constexpr COptionSpec kOptions[] = {
    { "h,help", nullptr, QT_TRANSLATE_NOOP("CCommandLine", "Show this help and exit.") },
    { "version", nullptr, QT_TRANSLATE_NOOP("CCommandLine", "Show the version and exit.") },
    { "lang", "language",
            QT_TRANSLATE_NOOP("CCommandLine", "User interface language (en, zh_CN).") },
    { "test-camera", nullptr,
            QT_TRANSLATE_NOOP("CCommandLine", "List the built-in Test Pattern camera.") },
    { "camera-files", "pattern",
            QT_TRANSLATE_NOOP("CCommandLine", "A Pictures camera: a folder or slice_%02d.jpg.") },
    { "camera-fps", "rate",
            QT_TRANSLATE_NOOP("CCommandLine", "The Pictures camera's frames a second (5).") },
    { "fuse", "mode",
            QT_TRANSLATE_NOOP("CCommandLine", "Fuse IN... into one: direct|adjusted|aligned.") },
    { "o,output", "file", QT_TRANSLATE_NOOP("CCommandLine", "Where a batch command writes.") },
    { "depth-map", "file",
            QT_TRANSLATE_NOOP("CCommandLine", "With --fuse aligned: also write the depth map.") },
    { "verbose", nullptr, QT_TRANSLATE_NOOP("CCommandLine", "Batch commands tell each step.") },
    { "count", "file",
            QT_TRANSLATE_NOOP("CCommandLine", "Count the objects of a picture into -o OUT.csv.") },
    { "threshold", "level",
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: Otsu's level, or the level N.") },
    { "dark", nullptr,
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: objects at or below the level.") },
    { "bright", nullptr,
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: objects at or above the level.") },
    { "channel", "name",
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: luminance, red, green or blue.") },
    { "min-area", "pixels",
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: drop smaller objects.") },
    { "exclude-edges", nullptr,
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: drop objects on the border.") },
    { "split", nullptr,
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: split touching round objects.") },
    { "scale", "length",
            QT_TRANSLATE_NOOP("CCommandLine", "With --count: one pixel's size, e.g. 0.5um.") },
    { "scale-from-ruler", "file",
            QT_TRANSLATE_NOOP("CCommandLine", "Print the scale read from a stage micrometer.") },
    { "division", "length",
            QT_TRANSLATE_NOOP(
                    "CCommandLine", "With --scale-from-ruler: one division, e.g. 10um.") },
};

// Qt's own options, which QApplication takes out of the arguments before we read them.
const QStringList kQtOptions = { "platform", "platformpluginpath", "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry", "qwindowicon", "qwindowtitle", "reverse", "session",
    "display", "geometry", "title", "icon", "name", "style", "stylesheet", "widgetcount", "nograb",
    "dograb", "sync" };

QString Tr(const char* text)
{
    return QCoreApplication::translate("CCommandLine", text);
}

void AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(Tr(QT_TRANSLATE_NOOP(
            "CCommandLine", "Live picture and measurement for USB microscopes.")));
    for (const COptionSpec& spec : kOptions) {
        const QStringList names = QString::fromLatin1(spec.names).split(QLatin1Char(','));
        if (spec.valueName)
            parser.addOption(QCommandLineOption(
                    names, Tr(spec.description), QString::fromLatin1(spec.valueName)));
        else
            parser.addOption(QCommandLineOption(names, Tr(spec.description)));
    }
    parser.addPositionalArgument(QStringLiteral("files"),
            Tr(QT_TRANSLATE_NOOP("CCommandLine", "Pictures to open.")),
            QStringLiteral("[FILE...]"));
}

} // namespace

CCommandLine::CCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    AddOptions(parser);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const bool onlyQt = !unknown.isEmpty()
                && std::all_of(unknown.begin(), unknown.end(),
                        [](const QString& name) { return kQtOptions.contains(name); });
        if (!onlyQt) {
            m_action = Action::Unknown;
            m_error = parser.errorText();
        }
        // Qt's options: read again once QApplication has taken them out.
        return;
    }
    if (parser.isSet(QStringLiteral("help")))
        m_action = Action::Help;
    else if (parser.isSet(QStringLiteral("version")))
        m_action = Action::Version;
    m_language = parser.value(QStringLiteral("lang"));
    m_bTestCamera = parser.isSet(QStringLiteral("test-camera"));
    m_cameraFiles = parser.value(QStringLiteral("camera-files"));
    m_cameraFps = parser.value(QStringLiteral("camera-fps")).trimmed();
    if (parser.isSet(QStringLiteral("camera-fps"))) {
        bool ok = false;
        const double fps = m_cameraFps.toDouble(&ok);
        if (!ok || !(fps >= 0.1 && fps <= 120)) {
            m_action = Action::Unknown;
            m_error = Tr(QT_TRANSLATE_NOOP("CCommandLine",
                                 "--camera-fps takes a rate from 0.1 to 120, not '%1'."))
                              .arg(m_cameraFps);
        }
    }
    m_files = parser.positionalArguments();
}

QString CCommandLine::HelpText()
{
    QCommandLineParser parser;
    AddOptions(parser);
    return parser.helpText();
}

QString CCommandLine::HelpHead()
{
    // The usage line, the description and the blank line after it.
    const QStringList lines = HelpText().split(QLatin1Char('\n'));
    return lines.mid(0, 3).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString CCommandLine::VersionText()
{
    return QStringLiteral("kalvex %1\n").arg(QStringLiteral(KALVEX_VERSION));
}

QStringList CCommandLine::OptionNames()
{
    QStringList names;
    for (const COptionSpec& spec : kOptions) {
        QStringList written;
        for (const QString& name : QString::fromLatin1(spec.names).split(QLatin1Char(',')))
            written << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        names << written.join(QStringLiteral(", "));
    }
    return names;
}
