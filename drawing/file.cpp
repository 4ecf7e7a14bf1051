#include "drawing/file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "drawing/foreign_format.h"

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

// Moves `from` to `to` without replacing an existing `to`.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: a hard link fails on an existing target too.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
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
    const std::filesystem::path target(path);
    const std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
    std::string temp = folder + "/." + target.filename().string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return systemFailure(reason::kUnwritable, errno, path);
    // The new file gets the target's permissions, or those of a newly created file.
    struct stat st;
    mode_t perms;
    if (::stat(path.c_str(), &st) == 0) {
        perms = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        perms = 0666 & ~mask;
    }
    ::fchmod(fd, perms);
    bool good = true;
    int error = 0;
    std::string buffer;
    buffer.reserve(1 << 20);
    drawing.forEachChunk([&](std::string_view chunk) {
        if (!good) return;
        if (chunk.size() >= (1 << 20)) {
            if (!writeAll(fd, buffer) || !writeAll(fd, chunk)) good = false;
            buffer.clear();
        } else {
            buffer += chunk;
            if (buffer.size() >= (1 << 20)) {
                good = writeAll(fd, buffer);
                buffer.clear();
            }
        }
        if (!good) error = errno;
    });
    if (good && !writeAll(fd, buffer)) {
        good = false;
        error = errno;
    }
    if (good && ::fsync(fd) != 0) {
        good = false;
        error = errno;
    }
    if (::close(fd) != 0 && good) {
        good = false;
        error = errno;
    }
    if (good) {
        if (mode == WriteMode::Replace) {
            if (::rename(temp.c_str(), path.c_str()) != 0) {
                good = false;
                error = errno;
            }
        } else if (const int e = renameNoReplace(temp, path)) {
            ::unlink(temp.c_str());
            if (e == EEXIST) return Status::failure(reason::kTargetExists, path);
            return systemFailure(reason::kUnwritable, e, path);
        }
    }
    if (!good) {
        ::unlink(temp.c_str());
        return systemFailure(reason::kUnwritable, error, path);
    }
    return Status{};
}

}  // namespace drawing
