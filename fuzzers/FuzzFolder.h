// A private folder for the files a fuzz target reads and writes: made once for
// the process, emptied before each input so that no input meets what an earlier
// one left behind, and removed when the process exits.
#pragma once

#include <filesystem>

namespace fuzz {

/// The folder, made at the first call; aborts when it can't be made.
const std::filesystem::path& privateFolder();

/// Removes everything the folder holds; aborts when that fails.
void emptyPrivateFolder();

}  // namespace fuzz
