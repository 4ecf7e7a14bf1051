#include "dwg/lz77_2007.h"

#include <array>
#include <cstring>

#include "dwg/lz_stream.h"

namespace dwg {

namespace {

// A literal run is stored in 32-byte chunks whose four 8-byte groups come last first;
// a shorter tail is stored in pieces laid out in the order listed here, each piece
// taken from `from` bytes into the tail: pieces of 1 to 3 bytes reversed, of 4 and 8
// bytes in order, of 16 bytes as two 8-byte groups, the second first.
struct Piece {
    uint8_t from;
    uint8_t width;
};
using Tail = std::array<Piece, 6>;
constexpr std::array<Tail, 32> kTails = {{
    {},
    {{{0, 1}}},
    {{{0, 2}}},
    {{{0, 3}}},
    {{{0, 4}}},
    {{{4, 1}, {0, 4}}},
    {{{5, 1}, {1, 4}, {0, 1}}},
    {{{5, 2}, {1, 4}, {0, 1}}},
    {{{0, 8}}},
    {{{8, 1}, {0, 8}}},
    {{{9, 1}, {1, 8}, {0, 1}}},
    {{{9, 2}, {1, 8}, {0, 1}}},
    {{{8, 4}, {0, 8}}},
    {{{12, 1}, {8, 4}, {0, 8}}},
    {{{13, 1}, {9, 4}, {1, 8}, {0, 1}}},
    {{{13, 2}, {9, 4}, {1, 8}, {0, 1}}},
    {{{0, 16}}},
    {{{9, 8}, {8, 1}, {0, 8}}},
    {{{17, 1}, {1, 16}, {0, 1}}},
    {{{16, 3}, {0, 16}}},
    {{{16, 4}, {8, 8}, {0, 8}}},
    {{{20, 1}, {16, 4}, {8, 8}, {0, 8}}},
    {{{20, 2}, {16, 4}, {8, 8}, {0, 8}}},
    {{{20, 3}, {16, 4}, {8, 8}, {0, 8}}},
    {{{16, 8}, {0, 16}}},
    {{{17, 8}, {16, 1}, {0, 16}}},
    {{{25, 1}, {17, 8}, {16, 1}, {0, 16}}},
    {{{25, 2}, {17, 8}, {16, 1}, {0, 16}}},
    {{{24, 4}, {16, 8}, {8, 8}, {0, 8}}},
    {{{28, 1}, {24, 4}, {16, 8}, {8, 8}, {0, 8}}},
    {{{28, 2}, {24, 4}, {16, 8}, {8, 8}, {0, 8}}},
    {{{30, 1}, {26, 4}, {18, 8}, {10, 8}, {2, 8}, {0, 2}}},
}};

uint8_t* putPiece(const uint8_t* src, Piece p, uint8_t* dst) {
    if (p.width == 16) {
        dst = putPiece(src + 8, {p.from, 8}, dst);
        return putPiece(src, {p.from, 8}, dst);
    }
    // Fixed widths, so that each copy is a single move.
    if (p.width == 8) {
        std::memcpy(dst, src, 8);
        return dst + 8;
    }
    if (p.width == 4) {
        std::memcpy(dst, src, 4);
        return dst + 4;
    }
    for (size_t i = 0; i < p.width; ++i) *dst++ = src[p.width - 1 - i];
    return dst;
}

// Copies a literal run of `n` bytes from `src` to `dst`, undoing its stored order.
void putLiterals(const uint8_t* src, size_t n, uint8_t* dst) {
    for (; n >= 32; n -= 32, src += 32) {
        for (const uint8_t from : {24, 16, 8, 0}) dst = putPiece(src + from, {0, 8}, dst);
    }
    for (const Piece& p : kTails[n]) {
        if (p.width == 0) break;
        dst = putPiece(src + p.from, p, dst);
    }
}

// A literal run's length from the opcode before it.
size_t literalLength2007(LzStream& s, uint8_t opcode) {
    size_t n = size_t{opcode} + 8;
    if (n != 0x17) return n;
    size_t step = s.next();
    n += step;
    if (step != 0xFF) return n;
    do {
        step = s.next();
        step |= size_t{s.next()} << 8;
        n += step;
    } while (step == 0xFFFF && !s.failed());
    return n;
}

// Reads a reference's length and distance from `op` and the bytes after it; `op`
// becomes the last byte read, whose low three bits count the literals that follow.
void reference(LzStream& s, uint8_t& op, size_t& length, size_t& distance) {
    switch (op >> 4) {
        case 0:
            length = (op & 0x0Fu) + 0x13;
            distance = s.next();
            op = s.next();
            length += (op >> 3) & 0x10u;
            distance += ((op & 0x78u) << 5) + 1;
            break;
        case 1:
            length = (op & 0x0Fu) + 3;
            distance = s.next();
            op = s.next();
            distance += ((op & 0xF8u) << 5) + 1;
            break;
        case 2:
            distance = s.next();
            distance |= size_t{s.next()} << 8;
            length = op & 0x07u;
            if ((op & 0x08u) == 0) {
                op = s.next();
                length += op & 0xF8u;
            } else {
                ++distance;
                length += size_t{s.next()} << 3;
                op = s.next();
                length += ((op & 0xF8u) << 8) + 0x100;
            }
            break;
        default:
            length = op >> 4;
            distance = op & 0x0Fu;
            op = s.next();
            distance += ((op & 0xF8u) << 1) + 1;
            break;
    }
}

bool run2007(LzStream& s) {
    uint8_t op = s.next();
    size_t run = 0;
    if (s.more() && (op & 0xF0) == 0x20) {
        s.next();
        s.next();
        run = s.next() & 0x07u;
    }
    while (s.more()) {
        s.literals(run == 0 ? literalLength2007(s, op) : run, putLiterals);
        if (!s.more()) break;
        op = s.next();
        while (true) {
            size_t length = 0;
            size_t distance = 0;
            reference(s, op, length, distance);
            s.copyBack(length, distance);
            if (s.failed()) return false;
            run = op & 0x07u;
            if (run != 0 || !s.more()) break;
            op = s.next();
            if ((op >> 4) == 0) break;
            if ((op >> 4) == 0x0F) op &= 0x0F;
        }
    }
    return !s.failed();
}

}  // namespace

bool decompress2007(std::span<const uint8_t> in, std::span<uint8_t> out, size_t& produced) {
    LzStream s(in, out);
    const bool ok = run2007(s);
    produced = s.produced();
    return ok;
}

}  // namespace dwg
