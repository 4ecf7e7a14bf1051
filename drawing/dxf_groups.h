// The group layer of DXF: reading the (code, value) pairs of ASCII and binary DXF and
// writing them back.
//
// ASCII DXF holds each group as two lines, the code (possibly padded with blanks) and
// the value, ended by LF or CR LF. Binary DXF starts with a 22-byte sentinel; its group
// codes take one byte (R12: 255 introduces a two-byte code) or two bytes (R13 on), and
// its values are stored by type: strings with a closing NUL, numbers in little-endian
// binary, binary chunks with a length byte. The reader never copies: a group is a view
// into the data plus the byte range that holds it, so unchanged groups can be written
// back exactly as they were read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace drawing {

enum class DxfFormat : uint8_t { Ascii, Binary8, Binary16 };  // binary: 1- or 2-byte codes

inline constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

enum class ValueType : uint8_t { Invalid, String, Double, Int16, Int32, Int64, Bool, Binary };

// The type a group code's value has in binary DXF (Invalid for codes no DXF uses).
ValueType valueType(int code);

struct Group {
    int code = 0;
    std::string_view value;  // ASCII: the value line without its line end;
                             // binary: the value's bytes (a string without its NUL)
    size_t begin = 0;        // the group's bytes are [begin, end) of the data
    size_t end = 0;
};

enum class ReadProblem : uint8_t { None, Truncated, BadCode };

class GroupReader {
public:
    GroupReader(std::string_view data, DxfFormat format, size_t offset = 0)
        : data_(data), format_(format), pos_(offset) {}

    // Reads the next group. Returns false at the clean end of the data, or on a
    // problem (then problem() says which and problemOffset() where).
    bool next(Group& group);
    ReadProblem problem() const { return problem_; }
    size_t problemOffset() const { return problemAt_; }

private:
    bool nextAscii(Group& group);
    bool nextBinary(Group& group);
    bool fail(ReadProblem p, size_t at);

    std::string_view data_;
    DxfFormat format_;
    size_t pos_;
    ReadProblem problem_ = ReadProblem::None;
    size_t problemAt_ = 0;
};

// The value as text: strings as stored, numbers as decimal text, binary chunks as hex.
std::string valueText(const Group& group, DxfFormat format);
// The value as an integer (flags, counts); `fallback` when it is not one.
long long valueInt(const Group& group, DxfFormat format, long long fallback = 0);
// A handle value (hex text); 0 when empty or not a handle.
uint64_t valueHandle(const Group& group);
uint64_t parseHandle(std::string_view text);
std::string handleText(uint64_t handle);  // upper-case hex

// How one file writes its groups.
struct GroupStyle {
    DxfFormat format = DxfFormat::Ascii;
    std::string eol = "\n";  // ASCII line end
};

// Appends one group whose value is given as text (numbers as decimal text).
void appendGroup(std::string& out, const GroupStyle& style, int code, std::string_view text);
// Appends a group keeping the code bytes of `original` (its padding) with a new value.
void appendGroupLike(std::string& out, const GroupStyle& style, std::string_view original, int code,
                     std::string_view text);

}  // namespace drawing
