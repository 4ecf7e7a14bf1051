// What the program settles before its first window opens.
#pragma once

namespace app {

// Prepares the data folder (db/data_folder.h). When it cannot be used, shows why in a
// box and returns false: the program then ends with status 1, since no window could
// keep a database or a log.
bool dataFolderReady();

}  // namespace app
