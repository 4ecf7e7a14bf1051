// The drawing list of `collect` and `batch`: --folder and --tree applied in the order
// given, as 添加单目录图纸 and 添加多目录图纸 would apply them, with their messages.
#pragma once

#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/options.h"

namespace cli {

// Applies every --folder (adds a folder's drawings and sorts the list) and --tree
// (replaces the list with a tree's drawings) to `list`. A folder that cannot be read
// ends the command: one line on stderr, kFailure; a subfolder that cannot be read is
// skipped with one line on stderr. Returns kOk otherwise.
int applyCollection(const Options& opts, const std::string& command, std::vector<std::string>& list,
                    CommandIo& io);

}  // namespace cli
