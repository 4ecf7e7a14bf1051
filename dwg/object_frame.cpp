#include "dwg/object_frame.h"

#include "drawing/dxf_groups.h"
#include "dwg/header.h"

namespace dwg {
namespace {

// A guard against counts that no object holds (reactors, say): no more than the bits
// left could name.
bool plausibleCount(int64_t count, const BitReader& r) {
    return count >= 0 && static_cast<uint64_t>(count) <= r.bitsLeft();
}

}  // namespace

bool ObjectFrame::open(std::span<const uint8_t> objects, uint64_t offset, Version version) {
    version_ = version;
    streams_.data = BitReader(objects, version);
    streams_.strings = BitReader(objects, version);
    streams_.handles = BitReader(objects, version);
    BitReader& r = streams_.data;
    if (offset >= objects.size()) return false;
    r.seek(offset * 8);
    const uint64_t size = r.MS();
    uint64_t handleBits = 0;
    if (version >= Version::R2010) handleBits = r.UMC();
    if (r.failed() || size == 0) return false;
    start_ = r.position();
    if (size > (r.end() - start_) / 8) return false;
    end_ = start_ + size * 8;
    r.limit(end_);
    streams_.handles.limit(end_);
    type_ = r.OT();
    if (version >= Version::R2010) {
        if (handleBits > end_ - start_) return false;
        startHandles(end_ - start_ - handleBits);
    } else if (version >= Version::R2000) {
        startHandles(static_cast<uint32_t>(r.RL()));
    }
    return !failed();
}

void ObjectFrame::startHandles(size_t dataBits) {
    BitReader& r = streams_.data;
    if (dataBits > end_ - start_) {
        r.stop();
        return;
    }
    dataEnd_ = start_ + dataBits;
    streams_.handles.seek(dataEnd_);
    r.limit(dataEnd_);
    if (version_ >= Version::R2007) {
        streams_.strings.limit(dataEnd_);
        if (!locateStrings(streams_.strings, dataEnd_)) r.stop();
        r.setTextStream(&streams_.strings);
        dataStop_ = streams_.strings.bitsLeft() ? streams_.strings.position() : dataEnd_ - 1;
    } else {
        dataStop_ = dataEnd_;
    }
}

long ObjectFrame::dataLeft() const {
    return static_cast<long>(dataStop_) - static_cast<long>(streams_.data.position());
}

std::string ObjectFrame::graphics() const {
    BitReader r = streams_.data;
    r.seek(graphicsAt_);
    return r.bytes(graphicsBytes_);
}

long ObjectFrame::handlesLeft() const {
    return static_cast<long>(streams_.handles.bitsLeft());
}

void ObjectFrame::readHandleAndEed(Record& record) {
    handle_ = streams_.data.H().value;
    record.handle = handle_;
    readEed(record);
}

void ObjectFrame::readEed(Record& record) {
    BitReader& r = streams_.data;
    for (;;) {
        const size_t size = static_cast<uint16_t>(r.BS());
        if (size == 0 || r.failed()) return;
        const uint64_t app = r.H().value;
        const size_t end = r.position() + size * 8;
        if (end > r.end()) {
            r.stop();
            return;
        }
        record.xdata.push_back(Group{1001, true, {}, app});
        while (r.position() < end && !r.failed()) {
            const int code = 1000 + r.RC();
            Group g{static_cast<int16_t>(code), false, {}, 0};
            switch (code) {
            case 1000:
                if (version_ >= Version::R2007) {
                    const size_t n = static_cast<uint16_t>(r.RS());
                    const std::string raw = r.bytes(n * 2);
                    g.value = utf16ToUtf8(std::span(
                        reinterpret_cast<const uint8_t*>(raw.data()), raw.size()));
                } else {
                    const size_t n = r.RC();
                    r.RS();  // the code page of the text
                    g.value = r.bytes(n);
                }
                break;
            case 1002: g.value = r.RC() ? "}" : "{"; break;
            case 1003:
            case 1005: {
                uint64_t h = 0;
                for (int i = 0; i < 8; ++i) h = (h << 8) | r.RC();
                if (code == 1003) {
                    g.isName = true;
                    g.ref = h;
                } else {
                    g.value = drawing::handleText(h);
                }
                break;
            }
            case 1004: g.value = binaryText(r.bytes(r.RC())); break;
            case 1010:
            case 1011:
            case 1012:
            case 1013: {
                const Point3 p = r.RD3();
                record.xdata.push_back(Group{static_cast<int16_t>(code), false, realText(p.x), 0});
                record.xdata.push_back(
                    Group{static_cast<int16_t>(code + 10), false, realText(p.y), 0});
                g.code = static_cast<int16_t>(code + 20);
                g.value = realText(p.z);
                break;
            }
            case 1040:
            case 1041:
            case 1042: g.value = realText(r.RD()); break;
            case 1070: g.value = std::to_string(r.RS()); break;
            case 1071: g.value = std::to_string(r.RL()); break;
            default:
                // A code the format does not define: the rest of this application's
                // data cannot be read.
                r.seek(end);
                continue;
            }
            record.xdata.push_back(std::move(g));
        }
        if (r.position() != end) r.seek(end);
    }
}

void ObjectFrame::readEntityCommon(Record& record) {
    BitReader& r = streams_.data;
    record.kind = RecordKind::Entity;
    readHandleAndEed(record);
    if (r.B()) {
        const uint64_t bytes = version_ >= Version::R2010 ? r.BLL() : static_cast<uint32_t>(r.RL());
        if (bytes > r.bitsLeft() / 8) {
            r.stop();
            return;
        }
        graphicsAt_ = r.position();
        graphicsBytes_ = static_cast<size_t>(bytes);
        r.seek(r.position() + bytes * 8);
    }
    if (version_ <= Version::R14) startHandles(static_cast<uint32_t>(r.RL()));
    readEntityMode(record);
}

void ObjectFrame::readEntityMode(Record& record) {
    BitReader& r = streams_.data;
    record.entityMode = r.BB();
    int64_t reactors = 0;
    bool noXdictionary = false;
    if (!readOwnership(reactors, noXdictionary)) return;
    const bool byLayerLinetype = version_ <= Version::R14 && r.B();
    const bool noLinks = version_ <= Version::R2000 && r.B();
    if (version_ >= Version::R2004) {
        record.color = r.ENC();
    } else {
        record.color.index = r.BS();
    }
    record.linetypeScale = r.BD();
    uint8_t plotStyleFlags = 0, materialFlags = 0;
    bool visualStyles[3] = {false, false, false};
    if (version_ >= Version::R2000) {
        record.linetypeFlags = r.BB();
        plotStyleFlags = r.BB();
    }
    if (version_ >= Version::R2007) {
        materialFlags = r.BB();
        r.RC();  // shadows
    }
    if (version_ >= Version::R2010)
        for (bool& v : visualStyles) v = r.B();
    record.invisible = r.BS() & 1;
    if (version_ >= Version::R2000) record.lineweight = lineweightOf(r.RC());

    if (record.entityMode == 0) record.owner = ref();
    readOwnershipHandles(record, reactors, noXdictionary);
    if (version_ <= Version::R14) {
        record.layer = ref();
        if (!byLayerLinetype) {
            record.linetypeFlags = 3;
            record.linetype = ref();
        }
    }
    if (version_ <= Version::R2000) {
        if (noLinks) {
            record.previous = handle_ - 1;
            record.next = handle_ + 1;
        } else {
            record.previous = ref();
            record.next = ref();
        }
    }
    if (version_ >= Version::R2004 && record.color.bookHandle) record.colorBook = ref();
    if (version_ >= Version::R2000) {
        record.layer = ref();
        if (record.linetypeFlags == 3) record.linetype = ref();
    }
    if (version_ >= Version::R2007 && materialFlags == 3) record.material = ref();
    if (version_ >= Version::R2000 && plotStyleFlags == 3) record.plotStyle = ref();
    for (bool v : visualStyles)
        if (v) ref();
}

void ObjectFrame::readObjectCommon(Record& record) {
    BitReader& r = streams_.data;
    readHandleAndEed(record);
    if (version_ <= Version::R14) startHandles(static_cast<uint32_t>(r.RL()));
    int64_t reactors = 0;
    bool noXdictionary = false;
    if (!readOwnership(reactors, noXdictionary)) return;
    record.owner = ref();
    readOwnershipHandles(record, reactors, noXdictionary);
}

bool ObjectFrame::readOwnership(int64_t& reactors, bool& noXdictionary) {
    BitReader& r = streams_.data;
    reactors = r.BL();
    if (!plausibleCount(reactors, streams_.handles)) {
        r.stop();
        return false;
    }
    noXdictionary = version_ >= Version::R2004 && r.B();
    if (version_ >= Version::R2013) r.B();  // whether the data store holds data of it
    return true;
}

void ObjectFrame::readOwnershipHandles(Record& record, int64_t reactors, bool noXdictionary) {
    for (int64_t i = 0; i < reactors; ++i) record.reactors.push_back(ref());
    if (!noXdictionary) record.xdictionary = ref();
}

}  // namespace dwg
