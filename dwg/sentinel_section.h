// The header variables and the classes begin, in every version, with a sixteen-byte
// start sentinel and a 32-bit size of the data that follows it; what every version's
// read ends with.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "dwg/container.h"

namespace dwg {

using Sentinel = std::array<uint8_t, 16>;

inline constexpr Sentinel kHeaderSentinel{0xCF, 0x7B, 0x1F, 0x23, 0xFD, 0xDE, 0x38, 0xA9,
                                          0x5F, 0x7C, 0x68, 0xB8, 0x4E, 0x6D, 0x33, 0x5F};
inline constexpr Sentinel kClassesSentinel{0x8D, 0xA1, 0xC4, 0xB8, 0xC4, 0xA9, 0xF8, 0xC5,
                                           0xC0, 0xDC, 0xF4, 0x5F, 0xE7, 0xCF, 0xB6, 0x8A};

// Checks that `section` starts with `sentinel` and holds the size it gives. Returns an
// empty string or the reason, naming the section as `name`.
std::string checkSentinelSection(std::span<const uint8_t> section, const Sentinel& sentinel,
                                 std::string_view name);

// The last step of every version's read: checks `out.header` and `out.classes` behind
// their sentinels and reads the object map from `handles` into `out.objectMap`.
std::string completeContainer(std::span<const uint8_t> handles, Container& out);

}  // namespace dwg
