// libFuzzer target: smart fill, and the parts-list report built on it, on any bytes.
// Besides the sanitizers' checks it asserts that a fill only ever names entries that
// exist, so that the window can apply every result as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "materiallist/bom.h"
#include "materiallist/smart_fill.h"
#include "materiallist/window_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const materiallist::FillResult fill = materiallist::smartFill(text);
    if (fill.filled) {
        if (fill.steelType < 0 || fill.steelType > 13 || fill.message) __builtin_trap();
        if (fill.listIndex) {
            const auto entries = materiallist::listTexts(fill.list);
            if (*fill.listIndex < 0 || *fill.listIndex >= static_cast<int>(entries.size()))
                __builtin_trap();
        }
    } else if (fill.steelType != -1) {
        __builtin_trap();
    }
    for (const std::string& t : fill.texts)
        if (t.size() > size) __builtin_trap();

    materiallist::WindowEntries entries;
    materiallist::applyFill(entries, fill);
    materiallist::calculate(entries);

    std::string report;
    materiallist::appendBomReport(text, report);
    return 0;
}
