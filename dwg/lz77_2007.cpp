#include "dwg/lz77_2007.h"

#include <array>

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
    for (size_t i = 0; i < p.width; ++i)
        *dst++ = p.width < 4 ? src[p.width - 1 - i] : src[i];
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

class Lz77Page2007 {
public:
    Lz77Page2007(std::span<const uint8_t> in, std::span<uint8_t> out) : in_(in), out_(out) {}

    bool run();
    size_t produced() const { return put_; }

private:
    bool more() const { return get_ < in_.size() && !failed_; }
    uint8_t next() {
        if (get_ < in_.size()) return in_[get_++];
        failed_ = true;
        return 0;
    }
    size_t literalLength(uint8_t opcode);
    // Reads a reference's length and distance from `op` and the bytes after it; `op`
    // becomes the last byte read, whose low three bits count the literals that follow.
    void reference(uint8_t& op, size_t& length, size_t& distance);
    void literals(size_t n);
    void copyBack(size_t n, size_t distance);

    std::span<const uint8_t> in_;
    std::span<uint8_t> out_;
    size_t get_ = 0;
    size_t put_ = 0;
    bool failed_ = false;
};

size_t Lz77Page2007::literalLength(uint8_t opcode) {
    size_t n = size_t{opcode} + 8;
    if (n != 0x17) return n;
    size_t step = next();
    n += step;
    if (step != 0xFF) return n;
    do {
        step = next();
        step |= size_t{next()} << 8;
        n += step;
    } while (step == 0xFFFF && !failed_);
    return n;
}

void Lz77Page2007::reference(uint8_t& op, size_t& length, size_t& distance) {
    switch (op >> 4) {
        case 0:
            length = (op & 0x0Fu) + 0x13;
            distance = next();
            op = next();
            length += (op >> 3) & 0x10u;
            distance += ((op & 0x78u) << 5) + 1;
            break;
        case 1:
            length = (op & 0x0Fu) + 3;
            distance = next();
            op = next();
            distance += ((op & 0xF8u) << 5) + 1;
            break;
        case 2:
            distance = next();
            distance |= size_t{next()} << 8;
            length = op & 0x07u;
            if ((op & 0x08u) == 0) {
                op = next();
                length += op & 0xF8u;
            } else {
                ++distance;
                length += size_t{next()} << 3;
                op = next();
                length += ((op & 0xF8u) << 8) + 0x100;
            }
            break;
        default:
            length = op >> 4;
            distance = op & 0x0Fu;
            op = next();
            distance += ((op & 0xF8u) << 1) + 1;
            break;
    }
}

void Lz77Page2007::literals(size_t n) {
    if (n > in_.size() - get_ || n > out_.size() - put_) {
        failed_ = true;
        return;
    }
    putLiterals(in_.data() + get_, n, out_.data() + put_);
    get_ += n;
    put_ += n;
}

void Lz77Page2007::copyBack(size_t n, size_t distance) {
    if (distance > put_ || n > out_.size() - put_) {
        failed_ = true;
        return;
    }
    for (size_t i = 0; i < n; ++i, ++put_) out_[put_] = out_[put_ - distance];
}

bool Lz77Page2007::run() {
    uint8_t op = next();
    size_t run = 0;
    if (more() && (op & 0xF0) == 0x20) {
        next();
        next();
        run = next() & 0x07u;
    }
    while (more()) {
        literals(run == 0 ? literalLength(op) : run);
        if (!more()) break;
        op = next();
        while (true) {
            size_t length = 0;
            size_t distance = 0;
            reference(op, length, distance);
            if (failed_) return false;
            copyBack(length, distance);
            run = op & 0x07u;
            if (run != 0 || !more()) break;
            op = next();
            if ((op >> 4) == 0) break;
            if ((op >> 4) == 0x0F) op &= 0x0F;
        }
    }
    return !failed_;
}

}  // namespace

bool decompress2007(std::span<const uint8_t> in, std::span<uint8_t> out, size_t& produced) {
    Lz77Page2007 page(in, out);
    const bool ok = page.run();
    produced = page.produced();
    return ok;
}

}  // namespace dwg
