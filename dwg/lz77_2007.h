// The compression of 2007 (AC1021) pages: literal runs, stored in a shuffled byte order,
// alternating with back references; the data ends where its given length ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace dwg {

// Decompresses all of `in` into `out`, writing at most `out.size()` bytes; `produced` is
// the count written. False when the data is malformed: a read past `in`, a reference
// before the start of `out`, or more output than `out` holds.
bool decompress2007(std::span<const uint8_t> in, std::span<uint8_t> out, size_t& produced);

}  // namespace dwg
