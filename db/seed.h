// Creation of the reference databases from the seed CSV files.
//
// Each database file that does not exist yet is built under a temporary name, filled in
// one transaction from its tables' seed files, and renamed into place only when complete.
// An existing file is never touched, whatever it holds: it may carry the user's changes.
#pragma once

#include <string>
#include <vector>

#include "ui/message.h"

namespace db {

// Creates every missing file of the four databases: standard.db in `standardDir`, the
// others in `dataDir`, from the CSV files in `seedDir`. Returns one message per file
// that could not be created (seed file missing or malformed, folder not writable);
// the other files are created all the same.
std::vector<ui::Message> seedDatabases(const std::string& dataDir, const std::string& standardDir,
                                       const std::string& seedDir);

// Builds the one database file `file` (one of schema.h's files) at `path` from the CSV
// files in `seedDir`. Refuses, with a message, when `path` already exists.
ui::OptionalMessage createDatabase(const std::string& file, const std::string& path,
                                   const std::string& seedDir);

}  // namespace db
