// What the batch window says when a run has ended, completed or stopped with 终止: how
// many drawings were taken, how many of them had errors and where the error log is.
// A completed run keeps the program's first line "总共N个文件全部处理完毕！", a line
// break (LF CR), fifteen blanks and the date, under the title "科技是第一生产力".
#pragma once

#include <cstddef>
#include <string>

#include "ui/message.h"

namespace batch {

struct RunSummary {
    bool stopped = false;  // ended by 终止
    size_t listed = 0;     // drawings in the list
    size_t taken = 0;      // drawings started
    size_t done = 0;       // drawings taken to their end
    size_t failed = 0;     // drawings with at least one error-log entry
    std::string date;      // shown under a completed run's first line
    std::string errorLog;  // the error log's path
};

ui::Message runSummaryMessage(const RunSummary& run);

}  // namespace batch
