// Prepares the data folder on start: creates it when missing and copies in the files
// that ship with the program (help.txt) that it does not hold yet. Files already
// there are never replaced: they may carry the user's changes.
#pragma once

#include <string>

namespace app {

// The folder holding the shipped data files (data/ of the source tree, or
// $TOLVANE_SEED_DIR).
std::string seedDir();

// Returns false when the data folder cannot be created.
bool seedDataFolder();

}  // namespace app
