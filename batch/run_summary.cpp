#include "batch/run_summary.h"

namespace batch {

ui::Message runSummaryMessage(const RunSummary& run) {
    const std::string errors = run.failed == 0 ? std::string("没有文件出错。")
                                               : "其中" + std::to_string(run.failed) +
                                                     "个文件出错，错误日志：" + run.errorLog;
    if (run.stopped)
        return {"批量操作已终止", "操作已终止：共" + std::to_string(run.listed) +
                                      "个文件，已处理完" + std::to_string(run.done) + "个。\n" +
                                      errors};
    return {"科技是第一生产力", "总共" + std::to_string(run.taken) + "个文件全部处理完毕！\n\r" +
                                    std::string(15, ' ') + run.date + "\n" + errors};
}

}  // namespace batch
