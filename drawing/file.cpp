#include "drawing/file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "drawing/foreign_format.h"
#include "files/placement.h"

namespace drawing {
namespace {

Status systemFailure(const char* why, int error, const std::string& path) {
    return Status::failure(std::string(why) + "（" + std::strerror(error) + "）", path);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The most names writeNewFile tries: "NAME.EXT" and "NAME (2).EXT" to this.
constexpr int kMostFreeNames = 9999;

using Sink = std::function<void(std::string_view)>;

mode_t newFilePermissions() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes the chunks `produce` hands to its sink into a new temporary file beside `path`
// with `perms`, flushed to disk. Returns 0 with the temporary's name in `temp`, or the
// error, leaving no temporary behind.
int writeTemporary(const std::string& path, mode_t perms,
                   const std::function<void(const Sink&)>& produce, std::string& temp) {
    const std::filesystem::path target(path);
    const std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
    temp = folder + "/." + target.filename().string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return errno;
    ::fchmod(fd, perms);
    int error = 0;
    std::string buffer;
    buffer.reserve(1 << 20);
    produce([&](std::string_view chunk) {
        if (error) return;
        if (chunk.size() >= (1 << 20)) {
            if (!writeAll(fd, buffer) || !writeAll(fd, chunk)) error = errno;
            buffer.clear();
        } else {
            buffer += chunk;
            if (buffer.size() >= (1 << 20)) {
                if (!writeAll(fd, buffer)) error = errno;
                buffer.clear();
            }
        }
    });
    if (!error && !writeAll(fd, buffer)) error = errno;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (error) ::unlink(temp.c_str());
    return error;
}

}  // namespace

Status readDrawingFile(const std::string& path, Drawing& drawing, DrawingSource* source) {
    // Opened without waiting, so that a named pipe or a device named as a drawing is
    // refused at once instead of blocking until someone writes to it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return systemFailure(reason::kUnreadable, errno, path);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        return systemFailure(reason::kUnreadable, e, path);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (S_ISDIR(st.st_mode)) return systemFailure(reason::kUnreadable, EISDIR, path);
        return Status::failure(reason::kNotRegularFile, path);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int e = errno;
        ::close(fd);
        return systemFailure(reason::kUnreadable, e, path);
    }
    std::string bytes;
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            return systemFailure(reason::kUnreadable, e, path);
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    DrawingSource from;
    if (const ForeignFormat* format = foreignFormatOf(std::string_view(bytes).substr(0, 16))) {
        Translation translation;
        translation.path = path;
        Status translated = format->translate(bytes, translation);
        if (!translated.ok()) return Status::failure(translated.reason, path);
        from.format = format->name();
        from.notes = std::move(translation.notes);
        bytes = std::move(translation.dxf);
    }
    if (source) *source = std::move(from);
    Status status = Drawing::parse(std::move(bytes), drawing);
    status.path = path;
    return status.ok() ? Status{} : status;
}

Status writeDrawingFile(const Drawing& drawing, const std::string& path, WriteMode mode) {
    // The new file gets the target's permissions, or those of a newly created file.
    struct stat st;
    const bool replacing = mode == WriteMode::Replace && ::stat(path.c_str(), &st) == 0;
    std::string temp;
    if (const int e = writeTemporary(
            path, replacing ? st.st_mode & 07777 : newFilePermissions(),
            [&](const Sink& sink) { drawing.forEachChunk(sink); }, temp))
        return systemFailure(reason::kUnwritable, e, path);
    const int e = mode == WriteMode::Replace
                      ? (::rename(temp.c_str(), path.c_str()) == 0 ? 0 : errno)
                      : files::renameNoReplace(temp, path);
    if (e == 0) return Status{};
    ::unlink(temp.c_str());
    if (e == EEXIST) return Status::failure(reason::kTargetExists, path);
    return systemFailure(reason::kUnwritable, e, path);
}

Status writeNewFile(std::string_view bytes, const std::string& path, std::string& written) {
    std::string temp;
    if (const int e = writeTemporary(
            path, newFilePermissions(), [&](const Sink& sink) { sink(bytes); }, temp))
        return systemFailure(reason::kUnwritable, e, path);
    const std::filesystem::path target(path);
    for (int k = 1; k <= kMostFreeNames; ++k) {
        const std::string name =
            k == 1 ? path
                   : (target.parent_path() / (target.stem().string() + " (" + std::to_string(k) +
                                              ")" + target.extension().string()))
                         .string();
        const int e = files::renameNoReplace(temp, name);
        if (e == 0) {
            written = name;
            return Status{};
        }
        if (e != EEXIST) {
            ::unlink(temp.c_str());
            return systemFailure(reason::kUnwritable, e, name);
        }
    }
    ::unlink(temp.c_str());
    return Status::failure(reason::kTargetExists, path);
}

}  // namespace drawing
