// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppController.h"
#include "app/AppLog.h"
#include "app/DBusCommandService.h"
#include "app/DBusTakeOverChannel.h"
#include "app/DesktopShell.h"
#include "app/DialogPrompts.h"
#include "app/HeadlessPrompts.h"
#include "app/LogHandler.h"
#include "app/XdgResultActions.h"
#include "cli/BacklogCommand.h"
#include "cli/CommandLine.h"
#include "cli/HistoryCommand.h"
#include "cli/NameCommand.h"
#include "cli/SearchCommand.h"
#include "core/InterfaceLanguage.h"
#include "core/UnixSignals.h"
#include "desktopsearch/SearchProviderService.h"
#include "index/ScreenshotIndex.h"
#include "intake/InotifyEventSource.h"
#include "intake/LinuxFileSystem.h"
#include "naming/ScreenshotNamer.h"
#include "naming/X11CaptureContextSource.h"
#include "reading/ReadingWorkers.h"
#include "renaming/FreedesktopFileManager.h"
#include "settings/FolderAccess.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "ui/Thumbnails.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThreadPool>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <unistd.h>

namespace {

// A naming thread only waits on a reading process or the model; idle, it goes when the warm
// reading processes do.
constexpr int namingThreadExpiryMs = 10'000;
// How long quitting waits for a screenshot being named; a model request is abandoned after that.
constexpr int quitGraceMs = 3'000;
// The search providers' process ends after this long without a question; the bus starts it again.
constexpr std::chrono::seconds searchProviderIdle{30};
// The hidden role the bus starts the search providers with.
constexpr char searchProviderArgument[] = "--search-provider";

bool hasArgument(int argc, char *argv[], const char *argument)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], argument) == 0)
            return true;
    }
    return false;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Only through X11 (XWayland in a Wayland session) can the panel be placed at the top centre and
// kept on top, and the front window be read; the user's own choice of platform still wins.
void preferX11WhereAvailable()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// "  synopsis   what it does", the description on a line of its own after a long synopsis.
QString commandLine(const QString &synopsis, const QString &purpose)
{
    constexpr qsizetype purposeColumn = 33;
    const QString start = QStringLiteral("  ") + synopsis;
    return start.size() < purposeColumn ? start.leftJustified(purposeColumn) + purpose
                                        : start + u'\n' + QString(purposeColumn, u' ') + purpose;
}

void describe(QCommandLineParser &parser)
{
    using Command = CommandRequest::Command;
    const QStringList commands{
        commandLine(QStringLiteral("quillo name [--json] FILE..."), // not for people: syntax
                    QCoreApplication::translate("main", "print the name Quillo would give each file")),
        commandLine(
            CommandLine::synopsis(Command::Rename),
            QCoreApplication::translate("main", "rename the screenshots among these files and folders")),
        commandLine(CommandLine::synopsis(Command::History),
                    QCoreApplication::translate("main", "list the renames Quillo remembers")),
        commandLine(CommandLine::synopsis(Command::Undo),
                    QCoreApplication::translate("main", "put a renamed file back under its old name")),
        commandLine(CommandLine::synopsis(Command::Index),
                    QCoreApplication::translate(
                        "main", "keep the text of these screenshots for search, renaming nothing")),
        commandLine(CommandLine::synopsis(Command::Search),
                    QCoreApplication::translate("main", "list the screenshots that show these words"))};
    parser.setApplicationDescription(
        QCoreApplication::translate("main",
                                    "Quillo names new screenshots after what they show, on this computer.\n\n"
                                    "Without arguments it watches your screenshot folder and "
                                    "renames each new screenshot.\n") +
        commands.join(u'\n'));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {QStringLiteral("headless"), QCoreApplication::translate("main", "Run without any interface.")});
    parser.addOption({QStringLiteral("json"),
                      QCoreApplication::translate(
                          "main", "With name, rename, history, index and search: print JSON for scripts.")});
    parser.addOption({QStringLiteral("autostart"),
                      QCoreApplication::translate(
                          "main", "Started with the session: open no window, even without a tray.")});
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QCoreApplication::translate("main",
                                    "name, rename, history, undo, index or search; nothing to run Quillo."),
        QCoreApplication::translate("main", "[command ...]"));
}

// Quillo's texts in the language of the locale, English where there is no translation.
void installTranslations(QCoreApplication &app)
{
    InterfaceLanguage::install(app, InterfaceLanguage::preferred([](const char *name) {
                                   return qEnvironmentVariable(name);
                               }),
                               InterfaceLanguage::translationsFolder());
}

// Without a display there is no tray, panel or window.
std::function<std::unique_ptr<DesktopInterface>(AppController &)> desktop(FileManager &fileManager,
                                                                          bool headless, bool startedAtLogin)
{
    if (headless)
        return {};
    return [&fileManager, startedAtLogin](AppController &controller) {
        return std::make_unique<DesktopShell>(controller, fileManager, startedAtLogin);
    };
}

int runController(QCoreApplication &app, bool headless, bool startedAtLogin)
{
    LinuxFileSystem fileSystem;
    X11CaptureContextSource captureContext;
    FreedesktopFileManager fileManager;
    HeadlessPrompts headlessPrompts;
    DialogPrompts dialogPrompts;
    DBusTakeOverChannel takeOver;
    PreferencesStore preferences(PreferencesStore::defaultPath());
    QThreadPool namingPool;
    namingPool.setExpiryTimeout(namingThreadExpiryMs);
    const auto modelPause = std::make_shared<ModelPause>();
    const auto reading = std::make_shared<ReadingWorkers>(ReadingWorkers::Options::installed());
    // The panel's and the popup's pictures are decoded where the names are read: not in here.
    Thumbnails::setDecoder([weak = std::weak_ptr(reading)](const QString &filePath) {
        if (const auto workers = weak.lock())
            return workers->readImage(filePath);
        return DecodedImage{QImage(), QStringLiteral("Quillo is quitting")}; // not for people: never drawn
    });

    AppController controller(AppServices{
        preferences, fileSystem, captureContext, fileManager,
        headless ? static_cast<UserPrompts &>(headlessPrompts) : dialogPrompts, takeOver,
        [&namingPool, modelPause,
         reading](const SettingsStore &settings) -> std::shared_ptr<ScreenshotNaming> {
            return std::make_shared<ScreenshotNamer>(
                ScreenshotNamer::Options::fromSettings(settings, modelPause, reading), namingPool);
        },
        &InotifyEventSource::create, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
        FolderAccess::isRunningInSandbox(), desktop(fileManager, headless, startedAtLogin),
        &ToolEnvironment::system, QCoreApplication::applicationFilePath()});

    UnixSignals unixSignals;
    if (!unixSignals.isListening())
        qCWarning(lcApp) << "Could not set up signal handling; SIGTERM ends Quillo abruptly";
    QObject::connect(&unixSignals, &UnixSignals::terminationRequested, &app, &QCoreApplication::quit);
    QObject::connect(&controller, &AppController::quitRequested, &app, &QCoreApplication::quit);
    if (!controller.start())
        return 1;
    DBusCommandService commands(controller);
    commands.publish();
    const int status = app.exec();

    controller.shutdown();
    namingPool.clear();
    if (!namingPool.waitForDone(quitGraceMs)) {
        // Only a naming thread waiting on the model is left; files are moved on this thread, so
        // nothing is half-done. Leave without waiting for it.
        std::fflush(nullptr);
        _exit(status);
    }
    return status;
}

// `quillo rename`, `history` or `undo`, with arguments read as the shell passed them.
int runHistoryCommand(CommandRequest::Command command, int argc, char *argv[])
{
    QList<QByteArray> arguments;
    for (int i = 2; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const CommandLine::Parsed parsed = CommandLine::parse(command, arguments);
    if (!parsed.request) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate("main", "quillo: %1 (see quillo %2 --help)")
                                    .arg(parsed.error, QString::fromLocal8Bit(argv[1]))));
        return 2;
    }
    const CommandRequest &request = *parsed.request;
    if (request.help) {
        std::fputs(qPrintable(CommandLine::usage(command)), stdout);
        return 0;
    }
    switch (command) {
    case CommandRequest::Command::Rename:
    case CommandRequest::Command::Index:
        return BacklogCommand::run(request);
    case CommandRequest::Command::Search:
        return SearchCommand::run(request);
    case CommandRequest::Command::History:
        return HistoryCommand::list(request.json);
    case CommandRequest::Command::Undo:
        return HistoryCommand::undo(request);
    }
    return 2;
}

// Answers the desktop's search while the bus needs it: no interface, no settings, no watcher.
int runSearchProvider(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillo"));
    installTranslations(app);
    LogHandler::install(true);
    FreedesktopFileManager fileManager;
    XdgResultActions actions(fileManager);
    SearchProviderService service(ScreenshotIndex::defaultPath(), actions, searchProviderIdle);
    QObject::connect(&service, &SearchProviderService::idle, &app, &QCoreApplication::quit);
    if (const auto problem = service.publish(QDBusConnection::sessionBus())) {
        qCWarning(lcApp).noquote() << "Could not offer search results to the desktop:" << *problem;
        return 1;
    }
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Fixed limits: otherwise glibc raises them after a large answer (a picture) is freed and keeps
    // that much free heap resident long after. The trim threshold stays glibc's default: a naming
    // thread's arena gives its free top back at once, which malloc_trim() does not do for it.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    if (argc > 1 && std::strcmp(argv[1], searchProviderArgument) == 0)
        return runSearchProvider(argc, argv);
    const bool isNameCommand = argc > 1 && std::strcmp(argv[1], "name") == 0;
    if (const auto command = argc > 1 ? CommandLine::command(argv[1]) : std::nullopt) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("quillo"));
        installTranslations(app);
        LogHandler::install(true);
        return runHistoryCommand(*command, argc, argv);
    }
    const bool headless = hasArgument(argc, argv, "--headless") || !hasDisplay();
    std::unique_ptr<QCoreApplication> app;
    if (isNameCommand || headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else {
        preferX11WhereAvailable();
        app = std::make_unique<QApplication>(argc, argv);
        QGuiApplication::setDesktopFileName(QStringLiteral("org.quillo.Quillo"));
    }
    QCoreApplication::setApplicationName(QStringLiteral("quillo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLO_VERSION));
    installTranslations(*app);

    QCommandLineParser parser;
    describe(parser);
    parser.process(*app);
    LogHandler::install(isNameCommand);

    if (isNameCommand) {
        // The shell's bytes, not the parser's decoded text: a name need not be valid UTF-8.
        QList<QByteArray> files;
        for (int i = 2; i < argc; ++i) {
            if (std::strcmp(argv[i], "--json") != 0)
                files.append(QByteArray(argv[i]));
        }
        if (files.isEmpty()) {
            std::fprintf(
                stderr, "%s\n",
                qPrintable(QCoreApplication::translate("main", "quillo: name needs at least one file")));
            return 2;
        }
        return NameCommand::run(files, parser.isSet(QStringLiteral("json")));
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QCoreApplication::translate("main", "quillo: unknown command %1 (see quillo --help)")
                           .arg(parser.positionalArguments().first())));
        return 2;
    }
    if (headless && !parser.isSet(QStringLiteral("headless")))
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate(
                         "main", "quillo: no display found; running without an interface")));
    if (auto *guiApp = qobject_cast<QApplication *>(app.get()))
        guiApp->setQuitOnLastWindowClosed(false);
    return runController(*app, headless, parser.isSet(QStringLiteral("autostart")));
}
