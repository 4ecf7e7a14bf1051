#include "batch/error_log.h"

#include <cstdio>
#include <ctime>

#include "ui/printable_name.h"

namespace batch {

std::string missingBlockReason(const std::string& block) {
    return "属性修改未完成！未发现目标块 <" + block + ">";
}

drawing::Status appendErrorLog(const std::string& logPath, const std::string& drawing,
                               const std::string& reasonLine) {
    std::FILE* f = std::fopen(logPath.c_str(), "ab");
    if (!f) return drawing::Status::failure(drawing::reason::kUnwritable, logPath);
    const std::string stars(81, '*');
    char when[64];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    const std::string entry = stars + "\r\n打开文件出错:" + ui::printableName(drawing) + "\r\n" +
                              ui::printableName(reasonLine) + "\r\n" + when + "\r\n" + stars +
                              "\r\n";
    const bool good = std::fwrite(entry.data(), 1, entry.size(), f) == entry.size();
    if (std::fclose(f) != 0 || !good)
        return drawing::Status::failure(drawing::reason::kUnwritable, logPath);
    return drawing::Status{};
}

}  // namespace batch
