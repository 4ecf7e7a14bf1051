// libFuzzer target: reading material-list files. Any bytes either give a list or a
// message naming a line, never both; a list read back writes and reads again unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "materiallist/material_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const materiallist::CsvResult r =
        materiallist::fromCsv(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!r.error.empty()) {
        if (!r.list.items.empty() || r.error.rfind("第", 0) != 0) __builtin_trap();
        return 0;
    }
    const materiallist::CsvResult again = materiallist::fromCsv(materiallist::toCsv(r.list));
    if (!again.error.empty() || again.list.items.size() != r.list.items.size()) __builtin_trap();
    for (std::size_t i = 0; i < r.list.items.size(); ++i) {
        const auto& a = r.list.items[i];
        const auto& b = again.list.items[i];
        if (a.type != b.type || a.material != b.material || a.quantity != b.quantity ||
            a.unitWeight != b.unitWeight || a.totalWeight != b.totalWeight)
            __builtin_trap();
    }
    return 0;
}
