// The material list: the items the user has weighed, kept in the main window and stored
// as a CSV file (UTF-8 with a byte-order mark, so spreadsheet programs read the Chinese
// texts; comma separated; fields quoted where they hold a comma or a quote):
//
//   类型,规格/尺寸,材料,数量,单重(kg),总重(kg)
//   槽钢,25a---250x78x7.0x12.0 L=6000,Q235-A,4,164.45,657.8
//   合计,,,,,657.8
//
// A file is read back whole or not at all: the first bad row stops the reading with a
// message that names its line, and the list in hand stays as it was.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "materiallist/window_entries.h"

namespace materiallist {

struct MaterialItem {
    std::string type;         // steel type text, "槽钢"
    std::string designation;  // designation (rolled sections) or dimensions
    std::string material;     // section material text; empty when none was selected
    int quantity = 1;         // pieces, -32768…32767 as the calculation counts them
    double unitWeight = 0;    // kg
    double totalWeight = 0;   // kg
};

struct MaterialList {
    std::vector<MaterialItem> items;

    double totalWeight() const;  // sum of the items' total weights, kg
};

// The item the window's last calculation describes. REQUIRES: that calculation wrote
// its results (WeightResult::written) and the entries have not changed since.
// The designation is the selected designation followed by " L=<length>" for rolled
// sections, otherwise the shown dimension texts joined by "x" (flanges add
// " 孔<diameter>x<count>").
MaterialItem itemOf(const WindowEntries& entries);

// The CSV text of `list`, byte-order mark included.
std::string toCsv(const MaterialList& list);

// Reads CSV text. On success `error` is empty; otherwise it reads "第N行：…" naming
// the first bad line (1 = header) and `list` is empty.
struct CsvResult {
    MaterialList list;
    std::string error;
};
CsvResult fromCsv(std::string_view text);

// Writes `list` to `path` through a temporary file in the same folder that replaces
// `path` only once it is complete. Returns an empty text on success, else a message
// naming the file.
std::string saveCsv(const MaterialList& list, const std::filesystem::path& path);

// Reads `path`; `error` names the file (and the line, for a bad row) on failure.
CsvResult loadCsv(const std::filesystem::path& path);

}  // namespace materiallist
