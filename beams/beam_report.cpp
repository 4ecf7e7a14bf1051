#include "beams/beam_report.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "beams/beam_texts.h"
#include "ui/number_text.h"

namespace beams {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string textRecord(const std::string& text) { return quoted(text) + "\r\n"; }

std::string valueRecord(const std::string& label, const std::string& value) {
    return quoted(label) + "," + quoted("=") + "," + value + "\r\n";
}

std::string numberRecord(const std::string& label, const std::string& boxText) {
    return valueRecord(label, plainNumber(ui::readNumber(boxText)));
}

bool toGbk(const std::string& utf8, std::string& gbk) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in = utf8;
    gbk.assign(in.size() * 2 + 16, '\0');
    char* src = in.data();
    size_t srcLeft = in.size();
    char* dst = gbk.data();
    size_t dstLeft = gbk.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return false;
    gbk.resize(gbk.size() - dstLeft);
    return true;
}

}  // namespace

std::string plainNumber(double value) {
    if (!std::isfinite(value)) {
        const std::string text = ui::shortestText(value);
        return text[0] == ' ' ? text.substr(1) : text;
    }
    if (value == 0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    std::string digits;
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') digits.push_back(*p);
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out;
    if (exponent < 0) {
        out = "0." + std::string(-exponent - 1, '0') + digits;
    } else if (static_cast<size_t>(exponent) + 1 >= digits.size()) {
        out = digits + std::string(exponent + 1 - digits.size(), '0');
    } else {
        out = digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
    }
    return (negative ? "-" : "") + out;
}

std::string reportBlock(const ColumnInput& input, const ShownResults& shown) {
    const int n = input.n;
    const std::vector<std::string> labels = inputLabels(BeamFamily::Column);
    std::string block = "\r\n" + textRecord(title(BeamFamily::Column, n));
    for (int k = 0; k <= n; ++k) block += numberRecord(distanceLabel(n, k), input.distances[k]);
    for (int i = 0; i < 3; ++i) block += numberRecord(labels[i], input.beam[i]);
    block += valueRecord(rowLoadLabel(), input.rowLoad ? plainNumber(*input.rowLoad) : "");
    block += numberRecord(labels[3], input.beam[3]);
    block += textRecord(resultHeading());
    for (int k = 1; k <= n; ++k) block += numberRecord(momentLabel(k), shown.moments[k - 1]);
    for (int k = 1; k <= n; ++k) block += numberRecord(forceLabel(k), shown.forces[k - 1]);
    return block;
}

std::optional<ui::Message> appendReport(const std::string& path, const std::string& utf8Block) {
    const ui::Message failure{"提示", "无法写入计算报告文件: " + path};
    std::string gbk;
    if (!toGbk(utf8Block, gbk)) return failure;
    const std::filesystem::path file(path);
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return failure;
    // One block at a time, and a block that cannot be written whole (a full disk) is
    // taken back: the report never ends in half a record or half a character.
    ::flock(fd, LOCK_EX);
    struct stat before {};
    const bool regular = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode);
    bool written = true;
    for (std::string_view rest = gbk; written && !rest.empty();) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) rest.remove_prefix(static_cast<std::size_t>(n));
    }
    if (written && regular) written = ::fsync(fd) == 0;
    const bool torn = !written && regular && ::ftruncate(fd, before.st_size) != 0;
    const bool closed = ::close(fd) == 0;
    if (torn) return ui::Message{failure.title, failure.text + "（文件末尾留有不完整的记录）"};
    if (!written || !closed) return failure;
    return std::nullopt;
}

}  // namespace beams
