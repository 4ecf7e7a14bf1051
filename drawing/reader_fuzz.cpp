// libFuzzer target on the drawing reader. Any input must be refused with a reason or
// read; a drawing read must write back exactly the bytes it came from, survive purge,
// audit and an attribute edit, and what the engine then writes must read again.
#include <cstdint>
#include <string>

#include "drawing/audit.h"
#include "drawing/drawing.h"
#include "drawing/entity.h"
#include "drawing/purge.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace drawing;
    const std::string input(reinterpret_cast<const char*>(data), size);
    Drawing d;
    const Status status = Drawing::parse(input, d);
    if (!status.ok()) {
        if (status.reason.empty()) __builtin_trap();
        return 0;
    }
    if (d.bytes() != input) __builtin_trap();
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
