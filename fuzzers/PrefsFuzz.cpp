// The preference store's file reader: each input is the store's file. What must
// hold:
//   - a file that loads saves and loads again to the same values (the dump of
//     the store read back equals the dump of the store that wrote it);
//   - a file that does not load is set aside whole, as FILE.corrupt, and the
//     store is left empty.
// StoreError can't happen here (the file is in our own folder and readable), so
// it is a finding, as are crashes and sanitizer reports.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "FuzzFolder.h"
#include "host/settings/PreferenceStore.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "preference file: %s\n", what.c_str());
    std::abort();
}

std::string contentsOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) fail("cannot read " + file.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A damaged file of the input before was set aside here: start from nothing.
    fuzz::emptyPrivateFolder();
    const fs::path file = fuzz::privateFolder() / "prefs.json";
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
        if (!out.flush()) fail("cannot write " + file.string());
    }

    host::PreferenceStore store(file);
    if (std::optional<std::string> warning = store.load()) {
        if (!store.dump().empty()) fail("a damaged file left values in the store");
        if (fs::exists(file)) fail("a damaged file was not set aside: " + *warning);
        if (contentsOf(file.string() + ".corrupt") != text) fail("the file set aside differs from the damaged one");
        return 0;
    }

    const nlohmann::json loaded = store.dump();
    store.save();
    host::PreferenceStore again(file);
    if (std::optional<std::string> warning = again.load()) fail("the saved file does not load: " + *warning);
    if (again.dump() != loaded)
        fail("the saved file reads back otherwise:\n" + loaded.dump() + "\nbecame\n" + again.dump().dump());
    return 0;
}
