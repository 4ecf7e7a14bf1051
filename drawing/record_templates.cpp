#include "drawing/record_templates.h"

#include <initializer_list>
#include <utility>

namespace drawing {
namespace {

using Groups = std::initializer_list<std::pair<int, std::string>>;

// A record of `type` with a fresh handle (in group `handleCode`), its owner and `groups`.
std::string newRecord(Drawing& d, std::string_view type, uint64_t owner, Groups groups,
                      int handleCode = 5, uint64_t* handle = nullptr) {
    std::string out;
    appendGroup(out, d.style(), 0, type);
    if (d.usesHandles()) {
        const uint64_t h = d.allocateHandle();
        if (handle) *handle = h;
        appendGroup(out, d.style(), handleCode, handleText(h));
    }
    if (!d.isR12()) appendGroup(out, d.style(), 330, handleText(owner));
    for (const auto& [code, text] : groups) {
        if (code == 100 && d.isR12()) continue;  // R12 has no subclass markers
        appendGroup(out, d.style(), code, text);
    }
    return out;
}

}  // namespace

std::string tableEntryRecord(Drawing& d, std::string_view table, std::string_view name,
                             uint64_t tableHandle) {
    const std::string n(name);
    const std::string continuous = d.isR12() ? "CONTINUOUS" : "Continuous";
    if (table == "LAYER")
        return newRecord(d, table, tableHandle,
                         {{100, "AcDbSymbolTableRecord"},
                          {100, "AcDbLayerTableRecord"},
                          {2, n},
                          {70, "0"},
                          {62, "7"},
                          {6, continuous}});
    if (table == "LTYPE")
        return newRecord(d, table, tableHandle,
                         {{100, "AcDbSymbolTableRecord"},
                          {100, "AcDbLinetypeTableRecord"},
                          {2, n},
                          {70, "0"},
                          {3, n == continuous ? "Solid line" : ""},
                          {72, "65"},
                          {73, "0"},
                          {40, "0.0"}});
    if (table == "STYLE")
        return newRecord(d, table, tableHandle,
                         {{100, "AcDbSymbolTableRecord"},
                          {100, "AcDbTextStyleTableRecord"},
                          {2, n},
                          {70, "0"},
                          {40, "0.0"},
                          {41, "1.0"},
                          {50, "0.0"},
                          {71, "0"},
                          {42, "2.5"},
                          {3, "txt"},
                          {4, ""}});
    if (table == "DIMSTYLE")
        return newRecord(
            d, table, tableHandle,
            {{100, "AcDbSymbolTableRecord"}, {100, "AcDbDimStyleTableRecord"}, {2, n}, {70, "0"}},
            105);
    return newRecord(
        d, table, tableHandle,
        {{100, "AcDbSymbolTableRecord"}, {100, "AcDbRegAppTableRecord"}, {2, n}, {70, "0"}});
}

std::string blockRecordEntry(Drawing& d, const std::string& name, uint64_t tableHandle,
                             uint64_t& handle) {
    return newRecord(d, "BLOCK_RECORD", tableHandle,
                     {{100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"}, {2, name}}, 5,
                     &handle);
}

std::string blockBeginRecord(Drawing& d, const std::string& name, uint64_t blockRecord) {
    return newRecord(d, "BLOCK", blockRecord,
                     {{100, "AcDbEntity"},
                      {8, "0"},
                      {100, "AcDbBlockBegin"},
                      {2, name},
                      {70, "0"},
                      {10, "0.0"},
                      {20, "0.0"},
                      {30, "0.0"},
                      {3, name},
                      {1, ""}});
}

std::string blockEndRecord(Drawing& d, uint64_t blockRecord) {
    return newRecord(d, "ENDBLK", blockRecord,
                     {{100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockEnd"}});
}

std::string seqendRecord(Drawing& d, size_t parent) {
    std::string layer = "0";
    d.value(parent, 8, layer);
    const Record& p = d.record(parent);
    if (p.paperSpace)
        return newRecord(d, "SEQEND", p.handle, {{100, "AcDbEntity"}, {67, "1"}, {8, layer}});
    return newRecord(d, "SEQEND", p.handle, {{100, "AcDbEntity"}, {8, layer}});
}

}  // namespace drawing
