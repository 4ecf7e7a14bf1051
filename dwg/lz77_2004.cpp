#include "dwg/lz77_2004.h"

#include <cstring>

#include "dwg/lz_stream.h"

namespace dwg {

namespace {

constexpr uint8_t kEnd = 0x11;

void inOrder(const uint8_t* from, size_t n, uint8_t* to) { std::memcpy(to, from, n); }

// A length that does not fit its opcode's bits: each zero byte adds 255, the first
// non-zero byte adds itself and ends it.
size_t extendedLength(LzStream& s, size_t base) {
    size_t n = base;
    uint8_t b;
    while ((b = s.next()) == 0 && !s.failed()) n += 0xFF;
    return n + b;
}

// A literal run's length from an opcode 0x00–0x0F.
size_t literalLength2004(LzStream& s, uint8_t opcode) {
    return (opcode == 0 ? extendedLength(s, 0x0F) : opcode) + 3;
}

bool run2004(LzStream& s) {
    uint8_t op = s.next();
    if (op > kEnd) {
        s.literals(op - size_t{kEnd}, inOrder);
        op = s.next();
    } else if (op < 0x10) {
        s.literals(literalLength2004(s, op), inOrder);
        op = s.next();
    }
    while (op != kEnd && !s.failed()) {
        size_t length;
        size_t distance;
        uint8_t literalBits;
        if (op >= 0x40) {
            length = (op >> 4) - 1u;
            distance = (((op >> 2) & 3u) | (size_t{s.next()} << 2)) + 1;
            literalBits = op;
        } else if (op >= 0x20) {
            length = ((op & 0x1Fu) == 0 ? extendedLength(s, 0x1F) : op & 0x1Fu) + 2;
            literalBits = s.next();
            distance = ((literalBits >> 2) | (size_t{s.next()} << 6)) + 1;
        } else if (op >= 0x10) {
            length = ((op & 0x07u) == 0 ? extendedLength(s, 0x07) : op & 0x07u) + 2;
            literalBits = s.next();
            distance =
                (((op & 0x08u) << 11) | (literalBits >> 2) | (size_t{s.next()} << 6)) + 0x4000;
        } else {
            return false;  // 0x00–0x0F only ever follow a reference, as a literal length
        }
        s.copyBack(length, distance);
        size_t run = literalBits & 3u;
        op = 0;
        if (run == 0) {
            op = s.next();
            if (op < 0x10) run = literalLength2004(s, op);
        }
        if (run > 0) {
            s.literals(run, inOrder);
            op = s.next();
        }
    }
    return !s.failed();
}

}  // namespace

bool decompress2004(std::span<const uint8_t> in, std::span<uint8_t> out, size_t& produced) {
    LzStream s(in, out);
    const bool ok = run2004(s);
    produced = s.produced();
    return ok;
}

}  // namespace dwg
