// A DWG file read into records: its container, header variables, classes and every
// object of its object map that translates into DXF, with the count of those that do
// not, by kind.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "dwg/classes.h"
#include "dwg/container.h"
#include "dwg/header.h"
#include "dwg/record.h"

namespace dwg {

struct DwgDrawing {
    std::string folder;  // where the file lies, for the shape files it names (given)
    Version version = Version::R2000;
    uint8_t maintenance = 0;
    uint16_t codePage = 0;
    Header header;
    std::vector<DwgClass> classes;
    std::vector<Record> records;  // in the order of the object map
    std::unordered_map<uint64_t, size_t> byHandle;
    // What was left out, by DXF name: entities and objects of kinds not translated, and
    // objects of translated kinds that could not be read.
    std::map<std::string, int> untranslatedEntities;
    std::map<std::string, int> untranslatedObjects;
    std::map<std::string, int> unreadable;
    // Entities of classes not translated that became proxy entities showing their
    // proxy graphics (their own data is lost), by DXF name.
    std::map<std::string, int> asProxies;
    // Up to 2000 the entities of a block are chained from one to the next: the links of
    // those left out, so that the chain can be followed past them.
    std::unordered_map<uint64_t, uint64_t> links;

    const Record* find(uint64_t handle) const;
};

// Leaves out the records marked in `gone` (by their place), the entities and objects
// they own, and the objects whose owner is missing, keeping `byHandle` in step.
void dropRecords(DwgDrawing& d, std::vector<bool> gone);

// Reads `file` into `out`. Returns an empty string, or the reason the file cannot be
// read at all (a broken object is counted in `untranslated` and reading goes on).
std::string readDwg(std::span<const uint8_t> file, DwgDrawing& out);

}  // namespace dwg
