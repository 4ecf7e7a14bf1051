// libFuzzer target on the drawing reader. Any input must be refused with a reason or
// read. A drawing read writes back the bytes it came from: exactly them, or, where the
// input had no end marker (a 0 group EOF), exactly them with one end marker inserted
// (after the line end the file's last line lacked, if it did).
// It must survive purge, audit and an attribute edit, and what the engine then writes
// must read again.
#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/audit.h"
#include "drawing/drawing.h"
#include "drawing/entity.h"
#include "drawing/purge.h"

namespace {

using namespace drawing;

// Where the groups of a file in `format` begin.
size_t groupsBegin(std::string_view bytes, DxfFormat format) {
    if (format != DxfFormat::Ascii) return kBinarySentinel.size();
    return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

bool isEndMarker(const Group& g) { return g.code == 0 && recordType(g.value) == "EOF"; }

// Whether `bytes` hold an end marker among the groups read from their start.
bool hasEndMarker(std::string_view bytes, DxfFormat format) {
    GroupReader reader(bytes, format, groupsBegin(bytes, format));
    Group g;
    while (reader.next(g))
        if (isEndMarker(g)) return true;
    return false;
}

// Whether `bytes` are one end marker and nothing else, after the line end that the
// line before them lacks when it does not end in `before`.
bool isOneEndMarker(std::string_view bytes, char before, DxfFormat format) {
    if (format == DxfFormat::Ascii && before != '\n') {
        const size_t eol = bytes.substr(0, 2) == "\r\n" ? 2 : bytes.substr(0, 1) == "\n" ? 1 : 0;
        if (eol == 0) return false;
        bytes.remove_prefix(eol);
    }
    GroupReader reader(bytes, format);
    Group g;
    if (!reader.next(g) || !isEndMarker(g)) return false;
    return !reader.next(g) && reader.problem() == ReadProblem::None;
}

// Whether `out` is `in` with one end marker inserted somewhere.
bool isWithEndMarker(std::string_view in, std::string_view out, DxfFormat format) {
    if (out.size() <= in.size()) return false;
    const size_t m = out.size() - in.size();
    size_t k = 0;
    while (k < in.size() && in[k] == out[k]) ++k;
    if (out.substr(k + m) != in.substr(k)) return false;
    // The same bytes come of inserting at any place the insert can shift to.
    for (size_t j = k;; --j) {
        if (isOneEndMarker(out.substr(j, m), j > 0 ? out[j - 1] : '\n', format)) return true;
        if (j == 0 || out[j - 1] != out[j - 1 + m]) return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Drawing d;
    const Status status = Drawing::parse(input, d);
    if (!status.ok()) {
        if (status.reason.empty()) __builtin_trap();
        return 0;
    }
    const std::string written = d.bytes();
    if (written != input &&
        (hasEndMarker(input, d.format()) || !isWithEndMarker(input, written, d.format())))
        __builtin_trap();
    for (size_t i = 0; i < d.size(); ++i) {
        if (d.record(i).kind != Kind::Insert) continue;
        const AcadBlockReference reference(AcadEntity(d, i));
        reference.name();
        for (AcadAttributeReference& a : reference.getAttributes()) {
            a.tagString();
            a.setTextString(a.textString() + "Ä中");
        }
    }
    purgeAll(d);
    auditDrawing(d, true);
    purgeAll(d);
    Drawing again;
    if (!Drawing::parse(d.bytes(), again).ok()) __builtin_trap();
    return 0;
}
