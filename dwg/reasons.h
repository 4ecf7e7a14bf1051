// The reasons the DWG reader gives, in the user's language.
#pragma once

#include <string>
#include <string_view>

namespace dwg::reason {

inline constexpr const char* kNotDwg = "不是DWG图形文件";
inline constexpr const char* kTruncated = "DWG文件不完整";
inline constexpr const char* kPasswordProtected = "DWG文件有密码保护，无法读取";

// "DWG文件已损坏：" followed by what does not hold together.
inline std::string damaged(std::string_view what) {
    return std::string("DWG文件已损坏：").append(what);
}

}  // namespace dwg::reason
