#include "batch/collection.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "drawing/document.h"

namespace batch {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `path` absolute and lexically normal, ending in "/".
std::string folderPath(const std::string& path) {
    std::string text = drawing::fullPathOf(path);
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

enum class EntryType { File, Folder, Other };

struct Entry {
    std::string name;
    EntryType type;
};

// The entries of a folder (links followed), without "." and "..". Returns the errno
// of a folder that cannot be read, else 0.
int readFolder(const std::string& folder, std::vector<Entry>& entries) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return errno;
    const int fd = ::dirfd(dir);
    errno = 0;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        EntryType type = EntryType::Other;
        if (e->d_type == DT_REG) {
            type = EntryType::File;
        } else if (e->d_type == DT_DIR) {
            type = EntryType::Folder;
        } else if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(fd, e->d_name, &st, 0) == 0)
                type = S_ISDIR(st.st_mode)   ? EntryType::Folder
                       : S_ISREG(st.st_mode) ? EntryType::File
                                             : EntryType::Other;
        }
        entries.push_back({std::string(name), type});
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    return error;
}

bool byName(const Entry& a, const Entry& b) { return a.name < b.name; }

}  // namespace

bool endsInDrawingSuffix(std::string_view name) {
    return name.ends_with("dwg") || name.ends_with("dxf");
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    // Greedy matching with one backtrack point: the last "*" seen.
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

drawing::Status addFolderDrawings(const std::string& folder, std::vector<std::string>& list) {
    const std::string path = folderPath(folder);
    std::vector<Entry> entries;
    if (const int error = readFolder(path, entries))
        return drawing::Status::failure(
            std::string(drawing::reason::kUnreadable) + "（" + std::strerror(error) + "）", path);
    for (const Entry& e : entries)
        if (e.type == EntryType::File && endsInDrawingSuffix(e.name)) list.push_back(path + e.name);
    std::stable_sort(list.begin(), list.end());
    return drawing::Status{};
}

TreeSearch FindFilesAPI(const std::string& root, const std::vector<std::string>& patterns) {
    TreeSearch result;
    std::set<std::pair<dev_t, ino_t>> seen;
    // Folders still to search, the next one last: a folder's subfolders are pushed in
    // reverse, so the first is searched (with everything under it) before the second.
    std::vector<std::string> pending{folderPath(root)};
    std::vector<Entry> entries;
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        struct stat st;
        if (::stat(folder.c_str(), &st) == 0 && !seen.insert({st.st_dev, st.st_ino}).second)
            continue;
        ++result.folders;
        entries.clear();
        if (readFolder(folder, entries) != 0) result.unreadable.push_back(folder);
        std::sort(entries.begin(), entries.end(), byName);
        for (const Entry& e : entries) {
            if (e.type != EntryType::File) continue;
            for (const std::string& pattern : patterns)
                if (matchesPattern(e.name, pattern)) {
                    result.drawings.push_back(folder + e.name);
                    break;
                }
        }
        for (auto e = entries.rbegin(); e != entries.rend(); ++e)
            if (e->type == EntryType::Folder) pending.push_back(folder + e->name + "/");
    }
    return result;
}

ui::Message noDrawingsMessage() { return {"Pellam提示", "没有发现阿dwg图形文件！"}; }

ui::Message nameListWrittenMessage(const std::string& path) {
    return {"Tolvane", "提取文件完毕！，保存在 " + path + " 文件中"};
}

std::string drawingNameLine(std::string_view drawing) {
    std::string_view name = drawing.substr(drawing.rfind('/') + 1);
    name.remove_suffix(std::min<size_t>(4, name.size()));
    std::string line = "\"";
    for (char c : name) {
        if (c == '"') line += '"';
        line += c;
    }
    return line + "\"\r\n";
}

drawing::Status writeDrawingNameList(const std::string& path,
                                     const std::vector<std::string>& drawings) {
    std::string text;
    for (const std::string& d : drawings) text += drawingNameLine(d);
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return drawing::Status::failure(drawing::reason::kUnwritable, path);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return drawing::Status::failure(drawing::reason::kUnwritable, path);
    }
    return drawing::Status{};
}

}  // namespace batch
