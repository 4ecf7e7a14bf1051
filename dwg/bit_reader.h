// Reading the bit codes of a DWG stream: bits, bit-coded numbers, raw numbers, modular
// numbers, handle references, texts and colours, most significant bit first.
//
// A reader is confined to a range of bits of its bytes and never reads past its end:
// a read that would sets the failure flag, returns zero (or the empty value) and leaves
// the position at the end. Callers read a whole object and check failed() once.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "dwg/container.h"

namespace dwg {

struct Point2 {
    double x = 0, y = 0;
};
struct Point3 {
    double x = 0, y = 0, z = 0;
};

// A handle reference as stored: its code (2–5 absolute with the owning or pointing
// relation; 6, 8, 0xA, 0xC relative to another handle) and the value that follows.
struct HandleRef {
    uint8_t code = 0;
    uint64_t value = 0;
};

// The handle a reference names; relative codes count from `base` (the object's own
// handle). 0 for a null reference.
uint64_t resolve(const HandleRef& ref, uint64_t base);

// A colour as entities and table entries store it: an ACI index (0 BYBLOCK, 256
// BYLAYER), optionally a true colour, a colour name and book, and a transparency.
struct Color {
    int16_t index = 256;
    bool hasRgb = false;
    uint32_t rgb = 0;         // 0xRRGGBB
    std::string name;         // colour name (DXF 430 is "book$name")
    std::string book;
    bool hasTransparency = false;
    uint32_t transparency = 0;  // DXF 440 value
    bool bookHandle = false;    // a DBCOLOR handle follows in the handle stream
};

class BitReader {
public:
    BitReader() = default;
    // Reads `bytes` from its first bit to its last.
    BitReader(std::span<const uint8_t> bytes, Version version);

    Version version() const { return version_; }
    bool failed() const { return failed_; }
    // Marks the stream as failed and moves to its end.
    void stop();

    size_t position() const { return pos_; }  // in bits from the start of the bytes
    size_t end() const { return end_; }
    size_t bitsLeft() const { return end_ - pos_; }
    // Moves to bit `bit`; past the end it fails.
    void seek(size_t bit);
    // Ends the readable range at bit `bit` (never beyond the bytes).
    void limit(size_t bit);
    void alignToByte();
    // From 2007 on, texts (TV) are read from a stream of their own within the object.
    void setTextStream(BitReader* strings) { strings_ = strings; }

    bool B();
    uint8_t BB();
    uint8_t B3();  // 3B: one to three bits
    int16_t BS();
    int32_t BL();
    uint64_t BLL();
    double BD();
    uint8_t RC();
    int16_t RS();
    int32_t RL();
    double RD();
    double DD(double previous);  // bit double with a default
    int64_t MC();                // modular char, signed
    uint64_t UMC();              // modular char read as unsigned (the handle stream size)
    uint32_t MS();               // modular short
    HandleRef H();
    uint16_t OT();  // object type: BS up to 2007, the bit pair coding from 2010 on

    // Texts in the file's own coding: T bytes as stored up to 2004 (the drawing's code
    // page), TU converted from UTF-16 to UTF-8. TV is T up to 2004, TU from 2007,
    // read from the text stream when one is set.
    std::string T();
    std::string TU();
    std::string TV();
    // `n` raw bytes.
    std::string bytes(size_t n);

    Point2 RD2();
    Point3 RD3();
    Point2 BD2();
    Point3 BD3();
    Point2 DD2(const Point2& previous);
    Point3 BE();   // extrusion: 3BD up to R14, a bit for (0,0,1) from 2000 on
    double BT();   // thickness: BD up to R14, a bit for 0 from 2000 on
    Color CMC();   // colour of table entries and header variables
    Color CMC2004();  // the same as stored from 2004 on (tables keep it so in any version)
    Color ENC();   // colour of entities (with transparency from 2004 on)

private:
    bool take(size_t bits);
    uint8_t byteAt(size_t bit) const;
    // Eight bytes of the stream from bit `bit`, the first in the high byte; reads byte
    // bit / 8 + 8 too. REQUIRES: bit / 8 + 9 ≤ the bytes' size.
    uint64_t window(size_t bit) const {
        uint64_t word;
        std::memcpy(&word, data_ + bit / 8, 8);
        if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
        const unsigned shift = bit % 8;
        if (shift == 0) return word;
        return (word << shift) | (data_[bit / 8 + 8] >> (8 - shift));
    }
    uint64_t rawBytes(int n);  // n ≤ 8 bytes, little endian

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;  // bytes
    size_t pos_ = 0;
    size_t end_ = 0;
    Version version_ = Version::R2000;
    bool failed_ = false;
    BitReader* strings_ = nullptr;
};

// UTF-16 code units (little endian bytes) to UTF-8; stops at a 0 unit; unpaired
// surrogates become U+FFFD.
std::string utf16ToUtf8(std::span<const uint8_t> bytes);

}  // namespace dwg
