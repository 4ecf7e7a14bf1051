#include "drawing/aci.h"

#include <array>
#include <cmath>

namespace drawing {
namespace {

// A channel of 0..1 as 8 bits, by way of 16 bits as Qt's colours hold them (the
// plotter's colours have always been Qt's).
uint32_t channel(float c) {
    const auto wide = static_cast<uint32_t>(std::lround(c * 65535));
    return (wide * 255 + 32767) / 65535;
}

// Indexes 10..249 run through 24 hues in steps of 15°; within a hue the even indexes
// are full colours and the odd ones half-saturated, at five levels of brightness.
std::array<uint32_t, 256> aciTable() {
    std::array<uint32_t, 256> table{};
    const uint32_t basic[10] = {0,        0xff0000, 0xffff00, 0x00ff00, 0x00ffff,
                                0x0000ff, 0xff00ff, 0xffffff, 0x808080, 0xc0c0c0};
    for (int i = 0; i < 10; ++i) table[i] = basic[i];
    const double levels[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
    for (int i = 10; i < 250; ++i) {
        const float hue = static_cast<float>(i / 10 - 1) / 4;  // in sixths of the circle
        const float s = std::lround((i % 2 ? 0.5 : 1.0) * 65535) / 65535.0f;
        const float v = std::lround(levels[(i % 10) / 2] * 65535) / 65535.0f;
        const int sector = static_cast<int>(hue);
        const float f = hue - static_cast<float>(sector);
        const float low = v * (1 - s), falling = v * (1 - s * f), rising = v * (1 - s * (1 - f));
        float rgb[3];
        switch (sector) {
        case 0: rgb[0] = v, rgb[1] = rising, rgb[2] = low; break;
        case 1: rgb[0] = falling, rgb[1] = v, rgb[2] = low; break;
        case 2: rgb[0] = low, rgb[1] = v, rgb[2] = rising; break;
        case 3: rgb[0] = low, rgb[1] = falling, rgb[2] = v; break;
        case 4: rgb[0] = rising, rgb[1] = low, rgb[2] = v; break;
        default: rgb[0] = v, rgb[1] = low, rgb[2] = falling; break;
        }
        for (const float c : rgb) table[i] = table[i] << 8 | channel(c);
    }
    const uint32_t grays[6] = {51, 80, 105, 130, 190, 255};
    for (int i = 0; i < 6; ++i) table[250 + i] = grays[i] * 0x010101u;
    return table;
}

const std::array<uint32_t, 256>& table() {
    static const std::array<uint32_t, 256> t = aciTable();
    return t;
}

}  // namespace

uint32_t aciRgb(int index) { return index >= 1 && index <= 255 ? table()[index] : 0; }

int nearestAci(uint32_t rgb) {
    int best = 1;
    long bestDistance = -1;
    for (int i = 1; i < 256; ++i) {
        long distance = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const long d = static_cast<long>(rgb >> shift & 0xff) - (table()[i] >> shift & 0xff);
            distance += d * d;
        }
        if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
}

}  // namespace drawing
