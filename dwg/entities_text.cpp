// Single-line texts and the attributes (definitions and values) built on them.
#include "dwg/decoders.h"

namespace dwg {
namespace {

struct TextBody {
    Point3 insertion;
    Point3 alignment;  // (0, 0) at the elevation where 2000 on leave it out
    Point3 extrusion{0, 0, 1};
    double thickness = 0, oblique = 0, rotation = 0, height = 0, width = 1;
    std::string value;
    int generation = 0, horizontal = 0, vertical = 0;
    uint64_t style = 0;
};

TextBody readTextBody(ObjectFrame& f) {
    BitReader& d = f.data();
    TextBody t;
    if (f.version() <= Version::R14) {
        const double elevation = d.BD();
        const Point2 insertion = d.RD2();
        const Point2 alignment = d.RD2();
        t.insertion = Point3{insertion.x, insertion.y, elevation};
        t.alignment = Point3{alignment.x, alignment.y, elevation};
        t.extrusion = d.BD3();
        t.thickness = d.BD();
        t.oblique = d.BD();
        t.rotation = d.BD();
        t.height = d.BD();
        t.width = d.BD();
        t.value = d.TV();
        t.generation = d.BS();
        t.horizontal = d.BS();
        t.vertical = d.BS();
        return t;
    }
    const uint8_t flags = d.RC();
    const double elevation = (flags & 0x01) ? 0.0 : d.RD();
    const Point2 insertion = d.RD2();
    t.insertion = Point3{insertion.x, insertion.y, elevation};
    t.alignment = Point3{0, 0, elevation};
    if (!(flags & 0x02)) {
        const Point2 alignment = d.DD2(insertion);
        t.alignment = Point3{alignment.x, alignment.y, elevation};
    }
    t.extrusion = d.BE();
    t.thickness = d.BT();
    if (!(flags & 0x04)) t.oblique = d.RD();
    if (!(flags & 0x08)) t.rotation = d.RD();
    t.height = d.RD();
    if (!(flags & 0x10)) t.width = d.RD();
    t.value = d.TV();
    if (!(flags & 0x20)) t.generation = d.BS();
    if (!(flags & 0x40)) t.horizontal = d.BS();
    if (!(flags & 0x80)) t.vertical = d.BS();
    return t;
}

// The AcDbText groups of a text or an attribute, up to its extrusion.
void writeTextBody(const TextBody& t, Record& r) {
    r.marker("AcDbText");
    r.thickness(t.thickness);
    r.point(10, t.insertion);
    r.real(40, t.height);
    r.text(1, t.value);
    if (t.rotation != 0.0) r.real(50, degrees(t.rotation));
    if (t.width != 1.0) r.real(41, t.width);
    if (t.oblique != 0.0) r.real(51, degrees(t.oblique));
    r.nameOf(7, t.style);  // left out by the writer when it is STANDARD
    if (t.generation != 0) r.integer(71, t.generation);
    if (t.horizontal != 0) r.integer(72, t.horizontal);
    if (t.horizontal != 0 || t.vertical != 0) r.point(11, t.alignment);
    r.extrusion(t.extrusion);
}

struct AttributeBody {
    std::string tag;
    int fieldLength = 0;
    int flags = 0;
    bool locked = false;
    int type = 1;  // 1 single line; from 2018 on 2 and 4 for multi-line ones
    MTextBody multiLine;
};

AttributeBody readAttributeBody(ObjectFrame& f) {
    BitReader& d = f.data();
    AttributeBody a;
    if (f.version() >= Version::R2010) d.RC();  // the version of the attribute
    if (f.version() >= Version::R2018) {
        a.type = d.RC();
        if (a.type > 1) {
            // A multi-line attribute embeds an MTEXT, from its entity mode on.
            Record embedded;
            f.readEntityMode(embedded);
            a.multiLine = readMTextBody(f);
            const int annotative = d.BS();
            if (annotative > 0) {
                d.bytes(static_cast<size_t>(annotative));
                f.ref();
                d.BS();
            }
        }
    }
    a.tag = d.TV();
    a.fieldLength = d.BS();
    a.flags = d.RC();
    if (f.version() >= Version::R2007) a.locked = d.B();
    return a;
}

void writeAttributeBody(const AttributeBody& a, const TextBody& t, Version version, Record& r) {
    if (version >= Version::R2010) r.integer(280, 0);
    r.text(2, a.tag);
    r.integer(70, a.flags);
    if (a.fieldLength != 0) r.integer(73, a.fieldLength);
    if (t.vertical != 0) r.integer(74, t.vertical);
    if (a.locked) r.integer(280, 1);
    if (a.type > 1) {
        r.integer(71, a.type);
        r.integer(72, 0);
        r.point(11, t.alignment);
        r.text(101, "Embedded Object");
        writeMTextBody(a.multiLine, version, true, r);
    }
}

}  // namespace

void decodeText(ObjectFrame& f, Record& r) {
    TextBody t = readTextBody(f);
    t.style = f.ref();
    writeTextBody(t, r);
    r.marker("AcDbText");
    if (t.vertical != 0) r.integer(73, t.vertical);
}

void decodeAttrib(ObjectFrame& f, Record& r) {
    TextBody t = readTextBody(f);
    t.style = f.ref();
    const AttributeBody a = readAttributeBody(f);
    writeTextBody(t, r);
    r.marker("AcDbAttribute");
    writeAttributeBody(a, t, f.version(), r);
}

void decodeAttdef(ObjectFrame& f, Record& r) {
    TextBody t = readTextBody(f);
    t.style = f.ref();
    const AttributeBody a = readAttributeBody(f);
    if (f.version() >= Version::R2010) f.data().RC();
    const std::string prompt = f.data().TV();
    writeTextBody(t, r);
    r.marker("AcDbAttributeDefinition");
    r.text(3, prompt);
    writeAttributeBody(a, t, f.version(), r);
}

}  // namespace dwg
