// libFuzzer target on the DWG container reader. Any input must be refused with a reason
// and leave the container empty, or be read into a container that holds together: an
// object map pointing inside the objects, the header and the classes behind their
// start sentinels.
#include <algorithm>
#include <cstdint>
#include <span>

#include "dwg/container.h"
#include "dwg/sentinel_section.h"

namespace {

bool beginsWithSentinel(const std::vector<uint8_t>& bytes, const dwg::Sentinel& sentinel) {
    return bytes.size() >= sentinel.size() &&
           std::equal(sentinel.begin(), sentinel.end(), bytes.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dwg::Container c;
    const std::string why = dwg::readContainer(std::span(data, size), c);
    if (!why.empty()) {
        if (!c.objects.empty() || !c.objectMap.empty() || !c.header.empty()) __builtin_trap();
        return 0;
    }
    if (c.objectMap.empty()) __builtin_trap();
    for (const dwg::ObjectLocation& l : c.objectMap)
        if (l.offset >= c.objects.size()) __builtin_trap();
    if (!beginsWithSentinel(c.header, dwg::kHeaderSentinel) ||
        !beginsWithSentinel(c.classes, dwg::kClassesSentinel))
        __builtin_trap();
    return 0;
}
