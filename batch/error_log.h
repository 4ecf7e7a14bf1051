// The batch run's error log: five lines per entry, each ended by CR LF: 81 "*", the
// text "打开文件出错:" and the drawing's full path, the reason, the date and time,
// and 81 "*" again. The file is opened for appending for each entry and created when
// missing; it is written in UTF-8. The path and the reason are written as
// ui::printableName gives them, so a name holding a line break or bytes that are not
// UTF-8 stays on its own line and cannot forge an entry.
#pragma once

#include <string>

#include "drawing/status.h"

namespace batch {

// The reason line when the target block is missing from a drawing.
std::string missingBlockReason(const std::string& block);

// Appends one entry to the log at `logPath`.
drawing::Status appendErrorLog(const std::string& logPath, const std::string& drawing,
                               const std::string& reasonLine);

}  // namespace batch
