#include "drawing/dxf_groups.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace drawing {
namespace {

uint64_t readLittle(const char* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

void writeLittle(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

int fixedSize(ValueType t) {
    switch (t) {
        case ValueType::Double:
            return 8;
        case ValueType::Int16:
            return 2;
        case ValueType::Int32:
            return 4;
        case ValueType::Int64:
            return 8;
        case ValueType::Bool:
            return 1;
        default:
            return 0;
    }
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The code of an ASCII code line: optional blanks, digits, optional blanks.
bool parseCode(std::string_view line, int& code) {
    line = trimmed(line);
    if (line.empty() || line.size() > 6) return false;
    bool negative = line.front() == '-';
    if (negative) line.remove_prefix(1);
    if (line.empty()) return false;
    int v = 0;
    for (char c : line) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    code = negative ? -v : v;
    return true;
}

}  // namespace

ValueType valueType(int code) {
    if (code < 0) return ValueType::Invalid;
    if (code <= 9) return ValueType::String;
    if (code <= 59) return ValueType::Double;
    if (code <= 79) return ValueType::Int16;
    if (code < 90) return ValueType::Invalid;
    if (code <= 99) return ValueType::Int32;
    if (code == 100 || code == 101 || code == 102 || code == 105) return ValueType::String;
    if (code < 110) return ValueType::Invalid;
    if (code <= 149) return ValueType::Double;
    if (code < 160) return ValueType::Invalid;
    if (code <= 169) return ValueType::Int64;
    if (code <= 179) return ValueType::Int16;
    if (code < 210) return ValueType::Invalid;
    if (code <= 239) return ValueType::Double;
    if (code < 270) return ValueType::Invalid;
    if (code <= 289) return ValueType::Int16;
    if (code <= 299) return ValueType::Bool;
    if (code <= 309) return ValueType::String;
    if (code <= 319) return ValueType::Binary;
    if (code <= 369) return ValueType::String;
    if (code <= 389) return ValueType::Int16;
    if (code <= 399) return ValueType::String;
    if (code <= 409) return ValueType::Int16;
    if (code <= 419) return ValueType::String;
    if (code <= 429) return ValueType::Int32;
    if (code <= 439) return ValueType::String;
    if (code <= 459) return ValueType::Int32;
    if (code <= 469) return ValueType::Double;
    if (code <= 481) return ValueType::String;
    if (code == 999) return ValueType::String;
    if (code < 1000) return ValueType::Invalid;
    if (code == 1004) return ValueType::Binary;
    if (code <= 1009) return ValueType::String;
    if (code <= 1059) return ValueType::Double;
    if (code <= 1070) return ValueType::Int16;
    if (code == 1071) return ValueType::Int32;
    return ValueType::Invalid;
}

bool GroupReader::fail(ReadProblem p, size_t at) {
    problem_ = p;
    problemAt_ = at;
    return false;
}

bool GroupReader::next(Group& group) {
    if (problem_ != ReadProblem::None || pos_ >= data_.size()) return false;
    return format_ == DxfFormat::Ascii ? nextAscii(group) : nextBinary(group);
}

// The end of the line starting at `p` (the position of its LF, or `end`). Lines are a
// few bytes long: eight bytes are tested at once for a LF, which beats a library search
// that is set up anew for every line.
inline const char* lineEnd(const char* p, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
        while (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            const uint64_t x = word ^ (kOnes * '\n');
            // The lowest byte flagged here is the first LF (higher flags may be false).
            const uint64_t zero = (x - kOnes) & ~x & kHighs;
            if (zero) return p + (std::countr_zero(zero) >> 3);
            p += 8;
        }
    }
    while (p < end && *p != '\n') ++p;
    return p;
}

// The usual code line, blanks and up to six digits ended by LF or CR LF, read in one
// pass. Returns the position of its LF, or nullptr when the line needs the general reading.
inline const char* plainCode(const char* p, const char* end, int& code) {
    while (p < end && *p == ' ') ++p;
    const char* digits = p;
    int v = 0;
    while (p < end && p - digits < 6 && *p >= '0' && *p <= '9') v = v * 10 + (*p++ - '0');
    if (p == digits) return nullptr;
    if (p < end && *p == '\r') ++p;
    if (p >= end || *p != '\n') return nullptr;
    code = v;
    return p;
}

bool GroupReader::nextAscii(Group& group) {
    const size_t start = pos_;
    const char* base = data_.data();
    const char* end = base + data_.size();
    const char* codeEnd = plainCode(base + start, end, group.code);
    if (!codeEnd) {
        codeEnd = lineEnd(base + start, end);
        if (codeEnd == end) {
            // Blanks after the last group are not a group.
            if (trimmed(data_.substr(start)).empty()) {
                pos_ = data_.size();
                return false;
            }
            return fail(ReadProblem::Truncated, start);
        }
        if (!parseCode(
                std::string_view(base + start, static_cast<size_t>(codeEnd - (base + start))),
                group.code))
            return fail(ReadProblem::BadCode, start);
    }
    const char* valueStart = codeEnd + 1;
    if (valueStart >= end) return fail(ReadProblem::Truncated, start);
    const char* valueEnd = lineEnd(valueStart, end);
    pos_ = static_cast<size_t>(valueEnd - base) + (valueEnd < end ? 1 : 0);
    if (valueEnd > valueStart && valueEnd[-1] == '\r') --valueEnd;
    group.value = std::string_view(valueStart, static_cast<size_t>(valueEnd - valueStart));
    group.begin = start;
    group.end = pos_;
    return true;
}

bool GroupReader::nextBinary(Group& group) {
    const size_t start = pos_;
    const size_t size = data_.size();
    size_t p = start;
    int code;
    if (format_ == DxfFormat::Binary16) {
        if (size - p < 2) return fail(ReadProblem::Truncated, start);
        code = static_cast<int>(readLittle(data_.data() + p, 2));
        p += 2;
    } else {
        code = static_cast<unsigned char>(data_[p++]);
        if (code == 255) {
            if (size - p < 2) return fail(ReadProblem::Truncated, start);
            code = static_cast<int>(readLittle(data_.data() + p, 2));
            p += 2;
        }
    }
    const ValueType type = valueType(code);
    size_t valueStart = p, valueEnd;
    switch (type) {
        case ValueType::Invalid:
            return fail(ReadProblem::BadCode, start);
        case ValueType::String: {
            const void* nul = std::memchr(data_.data() + p, '\0', size - p);
            if (!nul) return fail(ReadProblem::Truncated, start);
            valueEnd = static_cast<const char*>(nul) - data_.data();
            p = valueEnd + 1;
            break;
        }
        case ValueType::Binary: {
            if (p >= size) return fail(ReadProblem::Truncated, start);
            const size_t n = static_cast<unsigned char>(data_[p]);
            valueStart = p + 1;
            if (size - valueStart < n) return fail(ReadProblem::Truncated, start);
            valueEnd = p = valueStart + n;
            break;
        }
        default: {
            const size_t n = fixedSize(type);
            if (size - p < n) return fail(ReadProblem::Truncated, start);
            valueEnd = p = p + n;
        }
    }
    group.code = code;
    group.value = data_.substr(valueStart, valueEnd - valueStart);
    group.begin = start;
    group.end = pos_ = p;
    return true;
}

std::string valueText(const Group& group, DxfFormat format) {
    if (format == DxfFormat::Ascii) return std::string(group.value);
    const std::string_view v = group.value;
    char buf[40];
    switch (valueType(group.code)) {
        case ValueType::Double: {
            double d;
            std::memcpy(&d, v.data(), 8);
            std::snprintf(buf, sizeof buf, "%.17g", d);
            return buf;
        }
        case ValueType::Int16:
            return std::to_string(static_cast<int16_t>(readLittle(v.data(), 2)));
        case ValueType::Int32:
            return std::to_string(static_cast<int32_t>(readLittle(v.data(), 4)));
        case ValueType::Int64:
            return std::to_string(static_cast<int64_t>(readLittle(v.data(), 8)));
        case ValueType::Bool:
            return std::to_string(static_cast<unsigned char>(v[0]));
        case ValueType::Binary: {
            std::string hex;
            for (unsigned char c : v) {
                std::snprintf(buf, sizeof buf, "%02X", c);
                hex += buf;
            }
            return hex;
        }
        default:
            return std::string(v);
    }
}

long long valueInt(const Group& group, DxfFormat format, long long fallback) {
    const std::string text = valueText(group, format);
    const std::string_view t = trimmed(text);
    if (t.empty()) return fallback;
    char* end = nullptr;
    const std::string s(t);
    const long long v = std::strtoll(s.c_str(), &end, 10);
    return end == s.c_str() ? fallback : v;
}

uint64_t parseHandle(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.size() > 16) return 0;
    uint64_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return 0;
        v = (v << 4) | static_cast<uint64_t>(d);
    }
    return v;
}

uint64_t valueHandle(const Group& group) { return parseHandle(group.value); }

std::string handleText(uint64_t handle) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(handle));
    return buf;
}

void appendGroup(std::string& out, const GroupStyle& style, int code, std::string_view text) {
    if (style.format == DxfFormat::Ascii) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%3d", code);
        out += buf;
        out += style.eol;
        out += text;
        out += style.eol;
        return;
    }
    if (style.format == DxfFormat::Binary16) {
        writeLittle(out, static_cast<uint64_t>(code), 2);
    } else if (code >= 255) {
        out.push_back(static_cast<char>(255));
        writeLittle(out, static_cast<uint64_t>(code), 2);
    } else {
        out.push_back(static_cast<char>(code));
    }
    const std::string s(trimmed(text));
    switch (valueType(code)) {
        case ValueType::Double: {
            const double d = std::strtod(s.c_str(), nullptr);
            char bytes[8];
            std::memcpy(bytes, &d, 8);
            out.append(bytes, 8);
            break;
        }
        case ValueType::Int16:
            writeLittle(out, static_cast<uint64_t>(std::strtoll(s.c_str(), nullptr, 10)), 2);
            break;
        case ValueType::Int32:
            writeLittle(out, static_cast<uint64_t>(std::strtoll(s.c_str(), nullptr, 10)), 4);
            break;
        case ValueType::Int64:
            writeLittle(out, static_cast<uint64_t>(std::strtoll(s.c_str(), nullptr, 10)), 8);
            break;
        case ValueType::Bool:
            out.push_back(static_cast<char>(std::strtol(s.c_str(), nullptr, 10) != 0));
            break;
        case ValueType::Binary: {
            std::string bytes;
            for (size_t i = 0; i + 1 < s.size() && bytes.size() < 255; i += 2)
                bytes.push_back(
                    static_cast<char>(std::strtol(s.substr(i, 2).c_str(), nullptr, 16)));
            out.push_back(static_cast<char>(bytes.size()));
            out += bytes;
            break;
        }
        default:
            out += text;
            out.push_back('\0');
    }
}

void appendGroupLike(std::string& out, const GroupStyle& style, std::string_view original, int code,
                     std::string_view text) {
    const size_t nl = original.find('\n');
    if (style.format != DxfFormat::Ascii || nl == std::string_view::npos) {
        appendGroup(out, style, code, text);
        return;
    }
    out += original.substr(0, nl + 1);
    out += text;
    out += style.eol;
}

}  // namespace drawing
