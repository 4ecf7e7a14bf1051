// The sections of 2004 and later, assembled from the pages their maps list: each page's
// data lands at its start in its section; a page never written (all zeros) leaves zeros.
// The versions differ in how a page is stored, which a `PageDecoder` undoes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "dwg/byte_budget.h"
#include "dwg/container.h"

namespace dwg {

struct FilePage {
    uint64_t address = 0;  // in the file
    uint64_t size = 0;     // on disk, whatever the page's own header says
};

struct SectionPage {
    uint64_t number = 0;          // in the page map
    uint64_t start = 0;           // of its data in the section
    uint64_t compressedSize = 0;  // as the section map gives it
    uint64_t size = 0;            // decompressed
};

struct SectionDescription {
    std::string name;   // "AcDb:Header", "AcDb:AcDbObjects", …
    uint64_t size = 0;  // of the whole section, decompressed
    bool compressed = true;
    bool coded = false;  // pages carry Reed–Solomon parity (2007)
    std::vector<SectionPage> pages;
};

struct PagedFile {
    std::unordered_map<uint64_t, FilePage> pages;
    std::vector<SectionDescription> sections;
};

// Gives the decompressed data of `page`, stored at `where`, in `data` (which may point
// into `scratch`), paying for what it allocates and decodes out of `budget`. Returns an
// empty string or the reason.
using PageDecoder = std::string (*)(std::span<const uint8_t> file, const FilePage& where,
                                    const SectionDescription& section, const SectionPage& page,
                                    ByteBudget& budget, std::vector<uint8_t>& scratch,
                                    std::span<const uint8_t>& data);

// Reads the header, the classes, the object map and the objects of `paged` into `out`.
std::string readPagedContainer(std::span<const uint8_t> file, const PagedFile& paged,
                               PageDecoder decode, Container& out);

}  // namespace dwg
