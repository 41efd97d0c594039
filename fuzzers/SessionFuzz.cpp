// The session files of orvane-replay: each input is played as one session, line
// by line through the session's lexer and commands, against the real module.
// A session error is a normal outcome (the session stops at its bad line); a
// crash, a sanitizer report, a leak or a hang is a finding.
//
// Every file a session names (dumps, frames, open, save) is one of a few files
// in a private folder, emptied before each input, and the preference file lives
// there too: an input reads and writes nothing else, and nothing an earlier
// input left behind.
//
// The module is loaded once for the fuzzer's life: libFuzzer registers the
// coverage counters of a module when it is loaded and reads them after every
// input, so a module unloaded by the host's dlclose at the end of a session
// makes libFuzzer read unmapped memory (it crashed in CollectFeatures after the
// second input). With the module held, the host's dlopen and dlclose only count
// references, and the plug-in's globals would live on from one input to the
// next: an input that leaves blocks of the host's allocator in them (which the
// host frees when it goes) hands the next input dangling pointers, a finding
// that no input reproduces alone. So the module's writable data is put back
// before each input, as orvane-replay's fresh load gives every session.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "FuzzFolder.h"
#include "ModuleImage.h"
#include "Session.h"

namespace {

namespace fs = std::filesystem;

/// Takes what the dumps to "-" write and drops it.
class Discard : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

/// A file name of the session as one of three files of the private folder. The extensions that change what
/// a command does (frame draws .svg or .png, open and save use SVG) are kept, and a name always maps to the
/// same file, so that open reads what save wrote under that name.
fs::path privateFile(const std::string& name) {
    std::string extension = fs::path(name).extension().string();
    if (extension != ".svg" && extension != ".png" && extension != ".json") extension.clear();
    return fuzz::privateFolder() / ("file" + std::to_string(std::hash<std::string>{}(name) % 3) + extension);
}

fuzz::ModuleImage& module() {
    static fuzz::ModuleImage image(ORVANE_PLUGINS_DIR "/Orvane.aip/Orvane.so");
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    module();
    fuzz::privateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::emptyPrivateFolder();
    module().restore();
    static Discard discard;
    static std::ostream out(&discard);
    replay::Options options{
        ORVANE_PLUGINS_DIR, fuzz::privateFolder() / "prefs.json", privateFile, {fuzz::privateFolder()}};
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        replay::Session session(options, out);
        session.play(in, "input");
    } catch (const replay::SessionError&) {
        // The session stopped at a line it could not play.
    }
    return 0;
}
