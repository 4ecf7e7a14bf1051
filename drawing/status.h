// Errors of the drawing engine as values. A failed operation gives a reason in the
// user's language and, where a file is involved, the file's path; nothing is thrown.
#pragma once

#include <string>

namespace drawing {

struct Status {
    std::string reason;  // empty when the operation succeeded
    std::string path;    // the file concerned, when there is one

    bool ok() const { return reason.empty(); }
    static Status failure(std::string why, std::string file = {}) {
        return Status{std::move(why), std::move(file)};
    }
};

// The reasons the engine gives.
namespace reason {
inline constexpr const char* kUnreadable = "无法读取文件";
inline constexpr const char* kNotRegularFile = "不是普通文件（命名管道、设备或套接字），未打开";
inline constexpr const char* kEmpty = "文件是空的";
inline constexpr const char* kNotDxf = "不是DXF图形文件";
inline constexpr const char* kBinaryDwg = "二进制DWG格式不受支持，请先另存为DXF";
inline constexpr const char* kIncomplete = "文件不完整";
inline constexpr const char* kBadGroupCode = "文件已损坏：组码无效";
inline constexpr const char* kTooLarge = "文件太大";
inline constexpr const char* kUnwritable = "无法写入文件";
inline constexpr const char* kTargetExists = "目标文件已存在，未覆盖";
}  // namespace reason

}  // namespace drawing
