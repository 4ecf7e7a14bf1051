#include "dwg/container.h"

#include <algorithm>
#include <string_view>

#include "dwg/reasons.h"
#include "dwg/sections_2004.h"
#include "dwg/sections_2007.h"
#include "dwg/sections_r13.h"

namespace dwg {

namespace {

// Where every version's file header keeps them.
constexpr size_t kMaintenanceAt = 0x0B;
constexpr size_t kCodePageAt = 0x13;
// From 2004 on, the security flags; with the first set, a password encrypts the data.
constexpr size_t kSecurityFlagsAt = 0x18;
constexpr uint8_t kEncryptedData = 0x01;

struct VersionName {
    std::string_view magic;
    Version version;
};
constexpr VersionName kRead[] = {
    {"AC1012", Version::R13},   {"AC1014", Version::R14},   {"AC1015", Version::R2000},
    {"AC1018", Version::R2004}, {"AC1021", Version::R2007}, {"AC1024", Version::R2010},
    {"AC1027", Version::R2013}, {"AC1032", Version::R2018},
};

// The versions before R13, by the release that wrote them.
struct OldVersion {
    std::string_view magic;
    std::string_view release;
};
constexpr OldVersion kRefused[] = {
    {"MC0.0", "R1.1"},   {"AC1.2", "R1.2"},  {"AC1.40", "R1.4"}, {"AC1.50", "R2.0"},
    {"AC2.10", "R2.10"}, {"AC1001", "R2.2"}, {"AC1002", "R2.5"}, {"AC1003", "R2.6"},
    {"AC1004", "R9"},    {"AC1006", "R10"},  {"AC1009", "R12"},
};

std::string_view magicOf(std::span<const uint8_t> file) {
    const size_t n = std::min<size_t>(file.size(), 6);
    return {reinterpret_cast<const char*>(file.data()), n};
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The reason for a file that is not one read here: an older or unknown version of DWG
// named by its magic, anything else not a DWG at all.
std::string refusal(std::span<const uint8_t> file) {
    const std::string_view magic = magicOf(file);
    for (const OldVersion& old : kRefused) {
        if (!startsWith(magic, old.magic)) continue;
        return "DWG版本" + std::string(old.release) + "不受支持（" + std::string(old.magic) + "）";
    }
    const bool printable = magic.size() == 6 && std::all_of(magic.begin(), magic.end(), [](char c) {
                               return c >= '0' && c <= 'Z';
                           });
    if (startsWith(magic, "AC") && printable) return "DWG版本" + std::string(magic) + "不受支持";
    return reason::kNotDwg;
}

}  // namespace

bool versionOf(std::span<const uint8_t> file, Version& version) {
    const std::string_view magic = magicOf(file);
    for (const VersionName& v : kRead) {
        if (magic != v.magic) continue;
        version = v.version;
        return true;
    }
    return false;
}

std::string readContainer(std::span<const uint8_t> file, Container& out) {
    out = Container{};
    if (!versionOf(file, out.version)) return refusal(file);
    if (file.size() < kCodePageAt + 2) return reason::kTruncated;
    out.maintenance = file[kMaintenanceAt];
    out.codePage = static_cast<uint16_t>(file[kCodePageAt] | file[kCodePageAt + 1] << 8);
    if (out.version >= Version::R2004 && file.size() > kSecurityFlagsAt &&
        (file[kSecurityFlagsAt] & kEncryptedData) != 0)
        return reason::kPasswordProtected;
    std::string why;
    switch (out.version) {
        case Version::R13:
        case Version::R14:
        case Version::R2000:
            why = readR13Container(file, out);
            break;
        case Version::R2004:
        case Version::R2010:
        case Version::R2013:
        case Version::R2018:
            why = readR2004Container(file, out);
            break;
        case Version::R2007:
            why = readR2007Container(file, out);
            break;
    }
    if (!why.empty()) out = Container{};
    return why;
}

}  // namespace dwg
