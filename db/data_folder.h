// Prepares the data folder on start: creates it when missing, copies in the files that
// ship with the program (help.txt) that it does not hold yet, and creates each missing
// database from the seed data. Files already there are never replaced: they may carry
// the user's changes.
//
// The shipped files live in the seed folder, found relative to the running program so
// that an installed or copied tree works wherever it lies: share/tolvane beside the
// program's bin folder. The build tree has the same shape: its top holds share/tolvane
// (a link to the project's data/) and each program lies one folder below the top.
// $TOLVANE_SEED_DIR, when set, is the only place looked in.
#pragma once

#include <string>
#include <vector>

#include "ui/message.h"

namespace db {

// The places looked in for the seed folder, in order, without repeats.
std::vector<std::string> seedDirCandidates();

// The seed folder: the first candidate that is a folder. When none is, the first
// candidate all the same, so that reading a seed file fails naming a real place.
std::string seedDir();

// A message naming every place looked in when none holds the seed folder; nothing
// when it was found.
ui::OptionalMessage missingSeedDirMessage();

// Returns the message to show, naming the folder and the reason, when the data folder
// cannot be created or checked (a link loop, a name too long, no permission, a file in
// its place); the program cannot go on without it. A missing seed folder and a database
// that cannot be created are reported on stderr; the window that needs the database
// says so when it opens.
ui::OptionalMessage seedDataFolder();

}  // namespace db
