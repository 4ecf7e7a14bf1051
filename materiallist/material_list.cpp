#include "materiallist/material_list.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>

#include "catalogue/catalogue.h"
#include "ui/number_text.h"

namespace materiallist {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::array<std::string_view, 6> kHeader = {"类型", "规格/尺寸", "材料",
                                                     "数量", "单重(kg)",  "总重(kg)"};
constexpr std::string_view kTotal = "合计";

// Shortest text that reads back as the same double.
std::string numberText(double v) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

void appendCsvField(std::string& out, std::string_view field) {
    std::string clean;
    for (char c : field) clean += c == '\n' || c == '\r' ? ' ' : c;
    if (clean.find_first_of(",\"") == std::string::npos) {
        out += clean;
        return;
    }
    out += '"';
    for (char c : clean) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendRow(std::string& out, const std::array<std::string, 6>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        appendCsvField(out, fields[i]);
    }
    out += "\r\n";
}

// The fields of one CSV line; false when a quoted field is not closed properly.
bool splitCsvLine(std::string_view line, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    std::size_t i = 0;
    while (i <= line.size()) {
        std::string& field = fields.back();
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i];
            }
            if (i < line.size() && line[i] != ',') return false;
        } else {
            while (i < line.size() && line[i] != ',') field += line[i++];
        }
        if (i >= line.size()) return true;
        ++i;  // the comma
        fields.emplace_back();
    }
    return true;
}

bool readDouble(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && std::isfinite(value);
}

bool readQuantity(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && value >= -32768 && value <= 32767;
}

bool isOneOf(std::span<const std::string_view> texts, const std::string& text) {
    for (std::string_view t : texts)
        if (t == text) return true;
    return false;
}

std::string lineError(std::size_t line, std::string_view what) {
    return "第" + std::to_string(line) + "行：" + std::string(what);
}

// The item of one data row, or the reason it is not one.
std::string readItem(const std::vector<std::string>& f, MaterialItem& item) {
    if (f.size() != kHeader.size()) return "应有 6 列，实有 " + std::to_string(f.size()) + " 列";
    if (!isOneOf(catalogue::steelTypeTexts(), f[0])) return "类型“" + f[0] + "”不是钢材类型";
    if (!f[2].empty() && !isOneOf(catalogue::materialGradeTexts(), f[2]))
        return "材料“" + f[2] + "”不在材料表中";
    if (!readQuantity(f[3], item.quantity))
        return "数量“" + f[3] + "”不是 -32768 到 32767 之间的整数";
    if (!readDouble(f[4], item.unitWeight)) return "单重“" + f[4] + "”不是数值";
    if (!readDouble(f[5], item.totalWeight)) return "总重“" + f[5] + "”不是数值";
    item.type = f[0];
    item.designation = f[1];
    item.material = f[2];
    return {};
}

}  // namespace

double MaterialList::totalWeight() const {
    double sum = 0;
    for (const MaterialItem& item : items) sum += item.totalWeight;
    return sum;
}

MaterialItem itemOf(const WindowEntries& e) {
    MaterialItem item;
    if (e.steelType >= 0 && e.steelType < catalogue::kSteelTypeCount)
        item.type = std::string(catalogue::steelTypeTexts()[static_cast<std::size_t>(e.steelType)]);
    if (sectionListOfType(e.steelType) >= 0) {
        item.designation = std::string(selectedItemText(e)) + " L=" + e.rows[0].text;
    } else {
        for (const DimensionRow& row : e.rows) {
            if (!row.visible) continue;
            if (!item.designation.empty()) item.designation += 'x';
            item.designation += row.text;
        }
        if (e.boltHoleRows && !e.holeCount.empty())
            item.designation += " 孔" + e.holeDiameter + "x" + e.holeCount;
    }
    item.material = std::string(materialText(e));
    item.quantity = static_cast<int>(std::nearbyint(ui::readNumber(e.quantity)));
    item.unitWeight = e.state.unit;
    item.totalWeight = e.state.total;
    return item;
}

std::string toCsv(const MaterialList& list) {
    std::string out(kBom);
    std::array<std::string, 6> fields;
    for (std::size_t i = 0; i < kHeader.size(); ++i) fields[i] = std::string(kHeader[i]);
    appendRow(out, fields);
    for (const MaterialItem& item : list.items)
        appendRow(out, {item.type, item.designation, item.material, std::to_string(item.quantity),
                        numberText(item.unitWeight), numberText(item.totalWeight)});
    appendRow(out, {std::string(kTotal), "", "", "", "", numberText(list.totalWeight())});
    return out;
}

CsvResult fromCsv(std::string_view text) {
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    CsvResult result;
    MaterialList list;
    std::vector<std::string> fields;
    bool sawHeader = false;
    std::size_t totalLine = 0;
    std::size_t lineNo = 0;
    auto fail = [&](std::size_t line, std::string_view what) {
        result.error = lineError(line, what);
        return result;
    };
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (!splitCsvLine(line, fields)) return fail(lineNo, "引号不配对");
        if (!sawHeader) {
            if (fields.size() != kHeader.size() ||
                !std::equal(fields.begin(), fields.end(), kHeader.begin()))
                return fail(lineNo,
                            "不是材料表的表头（类型,规格/尺寸,材料,数量,单重(kg),总重(kg)）");
            sawHeader = true;
            continue;
        }
        if (totalLine != 0) return fail(lineNo, "合计行之后不应再有内容");
        if (!fields.empty() && fields[0] == kTotal) {
            double total = 0;
            if (fields.size() != kHeader.size() || !readDouble(fields[5], total))
                return fail(lineNo, "合计行的总重不是数值");
            const double sum = list.totalWeight();
            if (!std::isfinite(sum)) return fail(lineNo, "各行总重之和超出范围");
            if (std::fabs(total - sum) > 1e-6 * std::max(1.0, std::fabs(sum)))
                return fail(lineNo,
                            "合计 " + fields[5] + " 与各行总重之和 " + numberText(sum) + " 不符");
            totalLine = lineNo;
            continue;
        }
        MaterialItem item;
        if (const std::string why = readItem(fields, item); !why.empty()) return fail(lineNo, why);
        list.items.push_back(std::move(item));
    }
    if (!sawHeader) return fail(1, "不是材料表的表头（文件为空）");
    if (totalLine == 0) return fail(lineNo + 1, "缺少合计行，文件可能不完整");
    result.list = std::move(list);
    return result;
}

std::string saveCsv(const MaterialList& list, const std::filesystem::path& path) {
    const std::string text = toCsv(list);
    std::filesystem::path temp = path;
    temp += ".part";
    auto failure = [&](int err) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return "无法保存材料表 " + path.string() + "：" + std::strerror(err);
    };
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return "无法保存材料表 " + path.string() + "：" + std::strerror(errno);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size() &&
                         std::fflush(f) == 0 && ::fsync(fileno(f)) == 0;
    const int writeError = errno;
    if (std::fclose(f) != 0 || !written) return failure(written ? errno : writeError);
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) return failure(ec.value());
    return {};
}

CsvResult loadCsv(const std::filesystem::path& path) {
    CsvResult result;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        result.error = "无法打开材料表 " + path.string() + "：" + std::strerror(errno);
        return result;
    }
    std::string text;
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(f);
    const int readError = errno;
    std::fclose(f);
    if (failed) {
        result.error = "无法读取材料表 " + path.string() + "：" + std::strerror(readError);
        return result;
    }
    result = fromCsv(text);
    if (!result.error.empty()) result.error = "材料表 " + path.string() + " " + result.error;
    return result;
}

}  // namespace materiallist
