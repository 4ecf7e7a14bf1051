// The maps of a 2004-format file (2004, 2010, 2013, 2018): the file header encrypted at
// 0x80, the page map that gives each numbered page its place in the file, and the
// section map that lists each named section's pages with their place in the section.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace dwg {

struct FilePage {
    uint64_t address = 0;  // in the file
    uint64_t size = 0;     // on disk, page header included
};

struct SectionPage {
    int32_t number = 0;          // in the page map
    uint64_t compressedSize = 0;  // as the section map gives it
    uint64_t start = 0;           // of its data in the section
};

struct SectionDescription {
    std::string name;           // "AcDb:Header", "AcDb:AcDbObjects", …
    uint64_t size = 0;          // of the whole section, decompressed
    uint64_t maxPageSize = 0;   // decompressed, normally 0x7400
    bool compressed = true;
    std::vector<SectionPage> pages;
};

struct Maps2004 {
    std::unordered_map<int32_t, FilePage> pages;
    std::vector<SectionDescription> sections;
};

// The encrypted 0x6C bytes at 0x80, decrypted in place.
void decryptFileHeader2004(std::span<uint8_t> bytes);

// Reads the file header and both maps. `maxSection` caps the decompressed size of any
// system page or section. Returns an empty string or the reason.
std::string readMaps2004(std::span<const uint8_t> file, uint64_t maxSection, Maps2004& out);

// A system page (page map, section map) at `address`: its 20-byte header, then its data
// compressed as in data pages.
std::string readSystemPage2004(std::span<const uint8_t> file, uint64_t address,
                               uint64_t maxSize, std::vector<uint8_t>& out);

}  // namespace dwg
