// Proxies: the entities and objects the drawing program keeps for applications it
// does not have (fixed types 498 and 499), and the entities of classes this reader
// does not know that carry proxy graphics, which become proxy entities showing them.
#include <algorithm>

#include "dwg/decoders.h"

namespace dwg {
namespace {

constexpr size_t kBytesPerLine = 127;  // binary data as the drawing program splits it

// `raw` as 310 groups of hexadecimal text.
void binaryGroups(const std::string& raw, Record& r) {
    for (size_t at = 0; at < raw.size(); at += kBytesPerLine)
        r.text(310, binaryText(std::string_view(raw).substr(at, kBytesPerLine)));
}

// The bits of `d` from its position to `stop`, packed from the first bit of a byte:
// the whole bytes at once, the bits of the last one by one.
std::string bitsUpTo(BitReader& d, size_t stop) {
    std::string out;
    if (stop <= d.position()) return out;
    const size_t bits = stop - d.position();
    out = d.bytes(bits / 8);
    if (bits % 8 == 0 || d.failed()) return out;
    char last = 0;
    for (size_t i = 0; i < bits % 8 && !d.failed(); ++i)
        if (d.B()) last = static_cast<char>(last | (0x80 >> i));
    out += last;
    return out;
}

// The object references after the common ones, as far as the handle stream holds
// whole references, by their DXF codes (owner 330, soft and hard pointers 340 and 350,
// hard owner 360).
void objectIds(ObjectFrame& f, Record& r) {
    while (f.handlesLeft() >= 8) {
        BitReader trial = f.handles();
        const HandleRef h = trial.H();
        if (trial.failed()) break;
        f.handles() = trial;
        const uint64_t id = resolve(h, f.handle());
        const int code = h.code == 2 ? 330 : h.code == 3 ? 340 : h.code == 5 ? 360 : 350;
        if (id) r.hex(code, id);
    }
    r.integer(94, 0);
}

// The size in bytes of proxy graphics (92) and in bits of a proxy's data (93); from
// 2010 on DXF counts both in 64 bits (160, 161).
int sizeCode(int code, Version version) { return version >= Version::R2010 ? code + 68 : code; }

void graphicsGroups(const std::string& graphics, Version version, Record& r) {
    r.integer(sizeCode(92, version), static_cast<int64_t>(graphics.size()));
    binaryGroups(graphics, r);
}

// A proxy: its class, the version that made it, its graphics, its data bits and its
// references. From 2018 on the version comes before the graphics.
void proxyRecord(ObjectFrame& f, Record& r, bool entity) {
    BitReader& d = f.data();
    r.marker(entity ? "AcDbProxyEntity" : "AcDbProxyObject");
    r.integer(90, entity ? 498 : 499);
    if (f.version() >= Version::R2000) r.integer(91, d.BL());
    Record tail;
    if (f.version() >= Version::R2018) {
        r.integer(71, d.BL());
        r.integer(97, d.BL());
        r.integer(70, d.B());
    } else if (f.version() >= Version::R2000) {
        tail.integer(95, d.BL());
        tail.integer(70, d.B());
    }
    if (entity && f.hasGraphics()) graphicsGroups(f.graphics(), f.version(), r);
    const size_t bits = static_cast<size_t>(std::max(0L, f.dataLeft()));
    const std::string data = bitsUpTo(d, d.position() + bits);
    r.integer(sizeCode(93, f.version()), static_cast<int64_t>(bits));
    binaryGroups(data, r);
    objectIds(f, r);
    for (Group& g : tail.groups) r.groups.push_back(std::move(g));
}

}  // namespace

void proxyGraphics(const ObjectFrame& f, Record& r) {
    if (f.hasGraphics()) graphicsGroups(f.graphics(), f.version(), r);
}

void decodeProxyEntity(ObjectFrame& f, Record& r) { proxyRecord(f, r, true); }
void decodeProxyObject(ObjectFrame& f, Record& r) { proxyRecord(f, r, false); }

void decodeAsProxyEntity(ObjectFrame& f, Record& r) {
    r.type = "ACAD_PROXY_ENTITY";
    r.marker("AcDbProxyEntity");
    r.integer(90, 498);
    r.integer(91, f.type());
    graphicsGroups(f.graphics(), f.version(), r);
    // The entity's own data is in its class's format, which is not known here.
    r.integer(sizeCode(93, f.version()), 0);
    r.integer(94, 0);
    r.integer(70, 0);
}

}  // namespace dwg
