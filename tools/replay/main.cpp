// orvane-replay: plays session files against the real plug-in module.
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iostream>

#include "Session.h"

namespace {

constexpr const char* kUsage =
    "usage: orvane-replay [--plugins DIR] [--prefs FILE] [--allow-writes DIR]... SESSION...\n"
    "       orvane-replay --version\n"
    "  SESSION  a session file, or - for standard input\n"
    "  --plugins DIR  the folder of plug-in bundles (default: $ORVANE_PLUGINS, else the program's own:\n"
    "                 ../lib/orvane/plugins from its bin folder when installed, the build's plugins folder)\n"
    "  --prefs FILE   the preference store's file, read at start and written at quit\n"
    "  --allow-writes DIR  let the sessions write files in DIR too; by default they write only inside\n"
    "                 the working folder, where the files they name are found\n";

}  // namespace

int main(int argc, char** argv) {
    replay::Options options{host::defaultPluginFolder(), std::nullopt, {}, {}};
    std::vector<std::string> sessions;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--plugins" || arg == "--prefs") && i + 1 < argc) {
            (arg == "--plugins" ? options.pluginsDir : options.prefsFile.emplace()) = argv[++i];
        } else if (arg == "--allow-writes" && i + 1 < argc) {
            options.writableFolders.emplace_back(argv[++i]);
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--version") {
            std::cout << "orvane-replay " ORVANE_VERSION "\n";
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "orvane-replay: unknown option " << arg << '\n' << kUsage;
            return 2;
        } else {
            sessions.push_back(arg);
        }
    }
    if (sessions.empty()) {
        std::cerr << "orvane-replay: no session file\n" << kUsage;
        return 2;
    }
    for (const std::string& name : sessions) {
        try {
            replay::Session session(options, std::cout);
            if (name == "-") {
                session.play(std::cin, "-");
            } else {
                std::ifstream in(name);
                if (!in) {
                    std::cerr << name << ": can't read the session file: " << std::strerror(errno) << '\n';
                    return 1;
                }
                session.play(in, name);
            }
        } catch (const replay::SessionError& error) {
            std::cout.flush();
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    return 0;
}
