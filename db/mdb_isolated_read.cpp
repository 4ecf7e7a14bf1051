// readAccessFile: libmdb reads the file in a child process, which hands the tables over a
// pipe; a damaged file that makes libmdb crash ends only the child.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "db/mdb_import.h"

namespace db {
namespace {

void put(std::string& out, std::uint64_t n) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>(n >> (8 * i)));
}

void put(std::string& out, std::string_view text) {
    put(out, text.size());
    out += text;
}

// The child's answer: 1 and the tables, or 0 and the error.
std::string encode(bool ok, const std::vector<ImportedTable>& tables, const std::string& error) {
    std::string out(1, ok ? '\1' : '\0');
    if (!ok) {
        put(out, error);
        return out;
    }
    put(out, tables.size());
    for (const ImportedTable& t : tables) {
        put(out, t.name);
        put(out, t.columns.size());
        for (const ImportedColumn& c : t.columns) {
            put(out, c.name);
            put(out, static_cast<std::uint64_t>(c.accessType));
        }
        put(out, t.rows.size());
        for (const auto& row : t.rows)
            for (std::size_t c = 0; c < t.columns.size(); ++c) {
                const bool present = c < row.size() && row[c];
                out.push_back(present ? '\1' : '\0');
                if (present) put(out, *row[c]);
            }
    }
    return out;
}

// Reads what encode() wrote; every read fails once the bytes run out.
class Decoder {
public:
    explicit Decoder(std::string_view bytes) : bytes_(bytes) {}

    bool number(std::uint64_t& n) {
        if (bytes_.size() < 8) return false;
        n = 0;
        for (int i = 7; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(bytes_[i]);
        bytes_.remove_prefix(8);
        return true;
    }
    bool text(std::string& t) {
        std::uint64_t n = 0;
        if (!number(n) || n > bytes_.size()) return false;
        t.assign(bytes_.substr(0, n));
        bytes_.remove_prefix(n);
        return true;
    }
    bool flag(bool& f) {
        if (bytes_.empty()) return false;
        f = bytes_.front() != '\0';
        bytes_.remove_prefix(1);
        return true;
    }
    // A count of items of at least one byte each: never more than the bytes left.
    bool count(std::uint64_t& n) { return number(n) && n <= bytes_.size(); }

private:
    std::string_view bytes_;
};

bool decodeTable(Decoder& in, ImportedTable& t) {
    std::uint64_t columns = 0, rows = 0;
    if (!in.text(t.name) || !in.count(columns)) return false;
    t.columns.resize(columns);
    for (ImportedColumn& c : t.columns) {
        std::uint64_t type = 0;
        if (!in.text(c.name) || !in.number(type)) return false;
        c.accessType = static_cast<int>(type);
    }
    if (!in.count(rows)) return false;
    t.rows.assign(rows, std::vector<std::optional<std::string>>(columns));
    for (auto& row : t.rows)
        for (auto& value : row) {
            bool present = false;
            if (!in.flag(present)) return false;
            if (present && !in.text(value.emplace())) return false;
        }
    return true;
}

// The child's answer into `tables` or `error`; false also when it is cut short.
bool decode(std::string_view bytes, std::vector<ImportedTable>& tables, std::string& error) {
    Decoder in(bytes);
    bool ok = false;
    std::uint64_t count = 0;
    if (!in.flag(ok)) return false;
    if (!ok) {
        in.text(error);
        return false;
    }
    if (!in.count(count)) return false;
    tables.assign(count, {});
    for (ImportedTable& t : tables)
        if (!decodeTable(in, t)) return false;
    return true;
}

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string readAll(int fd) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

// Bounds for a child that libmdb sends round a loop in a damaged file: memory (which
// such loops fill) and processor time, both far above what reading `fileSize` bytes needs.
void limitChild(std::uintmax_t fileSize) {
    const rlim_t megabytes = static_cast<rlim_t>(fileSize >> 20);
    const rlimit memory{(256 + 8 * megabytes) << 20, (256 + 8 * megabytes) << 20};
    const rlimit seconds{30 + megabytes, 30 + megabytes};
    const rlimit noCore{0, 0};  // a crash leaves no core file beside the user's data
    ::setrlimit(RLIMIT_AS, &memory);
    ::setrlimit(RLIMIT_CPU, &seconds);
    ::setrlimit(RLIMIT_CORE, &noCore);
}

[[noreturn]] void childReads(const std::string& path, int fd) {
    std::error_code ec;
    limitChild(std::filesystem::file_size(path, ec));
    // libmdb's warnings on a damaged file come by the million: the answer says what failed.
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) ::dup2(null, 2);
    ::signal(SIGPIPE, SIG_IGN);
    std::vector<ImportedTable> tables;
    std::string error;
    const bool ok = readAccessFileInProcess(path, tables, error);
    writeAll(fd, encode(ok, tables, error));
    ::_exit(0);
}

}  // namespace

bool readAccessFile(const std::string& path, std::vector<ImportedTable>& tables,
                    std::string& error) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("无法启动读取进程（") + std::strerror(errno) + "）";
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        childReads(path, fds[1]);
    }
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        error = std::string("无法启动读取进程（") + std::strerror(errno) + "）";
        return false;
    }
    const std::string answer = readAll(fds[0]);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        error = "读取 “" + path + "” 时 libmdb 异常终止（" + strsignal(WTERMSIG(status)) +
                "），文件可能已损坏";
        return false;
    }
    std::string childError;
    if (decode(answer, tables, childError)) return true;
    tables.clear();
    error = childError.empty() ? "读取 “" + path + "” 的进程没有交回完整的数据" : childError;
    return false;
}

}  // namespace db
