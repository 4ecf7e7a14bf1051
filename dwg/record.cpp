#include "dwg/record.h"

#include <charconv>
#include <cmath>

namespace dwg {

std::string realText(double value) {
    if (!std::isfinite(value)) value = 0.0;
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    // A real keeps a decimal point, as the drawing program writes it.
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

std::string hexText(uint64_t handle) {
    char buffer[17];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
    std::string text(buffer, result.ptr);
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
    return text;
}

void Record::text(int code, std::string_view value) {
    groups.push_back(Group{static_cast<int16_t>(code), false, std::string(value), 0});
}

void Record::integer(int code, int64_t value) {
    groups.push_back(Group{static_cast<int16_t>(code), false, std::to_string(value), 0});
}

void Record::real(int code, double value) {
    groups.push_back(Group{static_cast<int16_t>(code), false, realText(value), 0});
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
    groups.push_back(Group{static_cast<int16_t>(code), false, hexText(value), 0});
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
