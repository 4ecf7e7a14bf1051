// The compression of the pages of 2004 and later (not 2007): an LZ77 variant of
// literal runs and back references, each page compressed on its own and ended by the
// opcode 0x11.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace dwg {

// Decompresses `in` into `out`, writing at most `out.size()` bytes; `produced` is the
// count written. False when the data is malformed: a read past `in`, a reference before
// the start of `out`, more output than `out` holds, or no end opcode.
bool decompress2004(std::span<const uint8_t> in, std::span<uint8_t> out, size_t& produced);

}  // namespace dwg
