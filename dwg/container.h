// The container of a DWG file: which version wrote it, and the sections the objects
// are read from, as plain bytes, whatever paging, compression or coding the version
// stores them with. Nothing read from the file is trusted: every size and offset is
// checked against the bytes present, and a file that does not hold together fails
// with a reason naming what is wrong.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dwg {

enum class Version : uint8_t { R13, R14, R2000, R2004, R2007, R2010, R2013, R2018 };

struct ObjectLocation {
    uint64_t handle = 0;
    uint64_t offset = 0;  // of the object's size (MS) in Container::objects
};

struct Container {
    Version version = Version::R2000;
    uint8_t maintenance = 0;  // maintenance release of the writing program
    uint16_t codePage = 0;    // the file header's code page number (30 = ANSI_1252, 39 = ANSI_936)
    // Each section as stored (R13–R2000) or after decompression (2004 and later),
    // beginning with its start sentinel where the version writes one.
    std::vector<uint8_t> header;   // header variables (AcDb:Header)
    std::vector<uint8_t> classes;  // AcDb:Classes
    // The bytes the object map points into: the whole file up to 2000, the data of
    // AcDb:AcDbObjects from 2004 on.
    std::vector<uint8_t> objects;
    // The object map (AcDb:Handles), in the order the file lists it.
    std::vector<ObjectLocation> objectMap;
};

// Reads the container of `file`. Returns an empty string on success, else the reason
// in the user's language (DWG of R12 and before: a reason that names the version).
std::string readContainer(std::span<const uint8_t> file, Container& out);

// The version named by the first six bytes ("AC1015" → R2000), if it is one read here.
bool versionOf(std::span<const uint8_t> file, Version& version);

}  // namespace dwg
