#include "dwg/record.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace dwg {

char* putReal(char* at, double value) {
    if (!std::isfinite(value)) value = 0.0;
    char* end;
    // Whole numbers below 10000 (a third of all reals) are their own shortest form (but
    // -0, which the integers do not have); the general conversion costs several times
    // as much.
    if (value == std::trunc(value) && std::abs(value) < 10000.0 &&
        !(value == 0.0 && std::signbit(value))) {
        end = std::to_chars(at, at + 8, static_cast<int>(value)).ptr;
    } else {
        end = std::to_chars(at, at + 30, value).ptr;
    }
    // A real keeps a decimal point, as the drawing program writes it.
    for (const char* c = at; c != end; ++c)
        if (*c == '.' || *c == 'e') return end;
    *end++ = '.';
    *end++ = '0';
    return end;
}

char* putHex(char* at, uint64_t handle) {
    char* end = std::to_chars(at, at + 16, handle, 16).ptr;
    for (char* c = at; c != end; ++c)
        if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
    return end;
}

std::string realText(double value) {
    char buffer[32];
    return std::string(buffer, putReal(buffer, value));
}

std::string binaryText(std::string_view bytes) {
    static constexpr auto kPairs = [] {
        std::array<char, 512> pairs{};
        const char* digits = "0123456789ABCDEF";
        for (size_t i = 0; i < 256; ++i) {
            pairs[2 * i] = digits[i >> 4];
            pairs[2 * i + 1] = digits[i & 15];
        }
        return pairs;
    }();
    std::string text(bytes.size() * 2, '\0');
    char* to = text.data();
    for (const char c : bytes) {
        std::memcpy(to, &kPairs[2 * static_cast<unsigned char>(c)], 2);
        to += 2;
    }
    return text;
}

void Record::text(int code, std::string_view value) {
    // Most records have a dozen groups or more: room for them at once.
    if (groups.capacity() == 0) groups.reserve(16);
    groups.push_back(Group{static_cast<int16_t>(code), false, std::string(value), 0});
}

void Record::integer(int code, int64_t value) {
    char buffer[24];
    text(code, std::string_view(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr));
}

void Record::real(int code, double value) {
    char buffer[32];
    text(code, std::string_view(buffer, putReal(buffer, value)));
}

void Record::point(int code, const Point3& p) {
    real(code, p.x);
    real(code + 10, p.y);
    real(code + 20, p.z);
}

void Record::point(int code, const Point2& p) {
    real(code, p.x);
    real(code + 10, p.y);
}

void Record::hex(int code, uint64_t value) {
    char buffer[16];
    text(code, std::string_view(buffer, putHex(buffer, value)));
}

void Record::placedHex(int code, uint64_t value) {
    hex(code, value);
    groups.back().keepsPlace = true;
}

void Record::nameOf(int code, uint64_t object) {
    groups.push_back(Group{static_cast<int16_t>(code), true, std::string(), object});
}

void Record::thickness(double value) {
    if (value != 0.0) real(39, value);
}

void Record::extrusion(const Point3& e) {
    if (e.x != 0.0 || e.y != 0.0 || e.z != 1.0) point(210, e);
}

}  // namespace dwg
