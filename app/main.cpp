// orvane-workbench: the host a person draws in, with the plug-ins of its folder.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

#include <QApplication>
#include <QCommandLineParser>

#include "CrashJournal.h"
#include "MainWindow.h"
#include "host/Host.h"

namespace {

/// The person's own preference file; none, with a word why, when their folders can't be found.
std::optional<std::filesystem::path> defaultPreferenceFile() {
    try {
        return host::defaultPreferenceFile();
    } catch (const std::exception& error) {
        std::cerr << "orvane-workbench: " << error.what() << "; the settings are not kept\n";
        return std::nullopt;
    }
}

/// A journal left behind, that no running workbench keeps, tells of a session that did not end cleanly: it is
/// set aside before this one's begins. True when there was one.
bool setAside(const std::filesystem::path& journal, const std::filesystem::path& leftOver) {
    std::error_code none;
    std::filesystem::rename(journal, leftOver, none);
    return !none;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before QApplication, which needs a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "orvane-workbench " ORVANE_VERSION "\n";
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane-workbench"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    // Its desktop entry's name: desktops find the window's icon through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvane.Workbench"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The Orvane workbench: draw with the plug-ins of its folder."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption plugins(QStringLiteral("plugins"),
                               QStringLiteral("The folder of plug-in bundles (default: $ORVANE_PLUGINS, else the "
                                              "program's own)."),
                               QStringLiteral("DIR"), QString::fromStdString(host::defaultPluginFolder().string()));
    QCommandLineOption prefs(QStringLiteral("prefs"),
                             QStringLiteral("The preference store's file, read at start and written at quit "
                                            "(default: ~/.config/orvane/prefs.json)."),
                             QStringLiteral("FILE"));
    parser.addOption(plugins);
    parser.addOption(prefs);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An SVG file to open."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();

    const std::optional<std::filesystem::path> prefsFile =
        parser.isSet(prefs) ? std::optional<std::filesystem::path>(parser.value(prefs).toStdString())
                            : defaultPreferenceFile();
    const std::filesystem::path journal = workbench::journalFile();
    const bool journalFree = !workbench::journalInUse(journal);
    std::filesystem::path leftOver = journal;
    leftOver += ".unclean";
    const bool leftBehind = journalFree && setAside(journal, leftOver);
    try {
        const std::filesystem::path pluginFolder = parser.value(plugins).toStdString();
        host::Host host(host::Host::Options{pluginFolder, prefsFile, {}});
        workbench::MainWindow window(host);
        // Shown first, so that the palettes the plug-ins show at start-up find their place beside it.
        window.show();
        window.start();
        if (!host.started()) {
            std::cerr << "orvane-workbench: " << window.lastError().toStdString() << '\n';
            return 1;
        }
        // While another workbench keeps the journal, this one keeps none.
        if (journalFree)
            window.keepJournal(journal);
        else
            std::cerr << "orvane-workbench: another workbench keeps the crash journal; this one's work is not kept\n";
        std::filesystem::path recovered = journal.parent_path() / "recovered.svg";
        if (leftBehind && window.offerRecovery(leftOver, pluginFolder, recovered)) {
            if (!files.isEmpty())
                std::cerr << "orvane-workbench: recovered the former drawing in place of the file given\n";
        } else if (!files.isEmpty()) {
            window.openFile(files.first());
        }
        std::error_code gone;
        if (leftBehind) std::filesystem::remove(leftOver, gone);
        if (files.size() > 1) std::cerr << "orvane-workbench: opens one file; the others given are left\n";
        return app.exec();
    } catch (const std::exception& error) {
        std::cerr << "orvane-workbench: " << error.what() << '\n';
        return 1;
    }
}
