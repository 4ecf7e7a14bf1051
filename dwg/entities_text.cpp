// Single-line texts and the attributes (definitions and values) built on them.
#include "dwg/decoders.h"

namespace dwg {
namespace {

struct TextBody {
    Point3 insertion;
    Point3 alignment;
    bool hasAlignment = false;
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
        t.hasAlignment = true;
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
    if (!(flags & 0x02)) {
        const Point2 alignment = d.DD2(insertion);
        t.alignment = Point3{alignment.x, alignment.y, elevation};
        t.hasAlignment = true;
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
    if (t.horizontal != 0 || t.vertical != 0)
        r.point(11, t.hasAlignment ? t.alignment : t.insertion);
    r.extrusion(t.extrusion);
}

struct AttributeBody {
    std::string tag;
    int fieldLength = 0;
    int flags = 0;
    bool locked = false;
};

AttributeBody readAttributeBody(ObjectFrame& f) {
    BitReader& d = f.data();
    AttributeBody a;
    if (f.version() >= Version::R2010) d.RC();  // the version of the attribute
    if (f.version() >= Version::R2018) {
        const uint8_t type = d.RC();
        // A multi-line attribute carries an embedded MTEXT: not read here.
        if (type > 1) d.stop();
    }
    a.tag = d.TV();
    a.fieldLength = d.BS();
    a.flags = d.RC();
    if (f.version() >= Version::R2007) a.locked = d.B();
    return a;
}

void writeAttributeBody(const AttributeBody& a, const TextBody& t, Record& r) {
    r.text(2, a.tag);
    r.integer(70, a.flags);
    if (a.fieldLength != 0) r.integer(73, a.fieldLength);
    if (t.vertical != 0) r.integer(74, t.vertical);
    if (a.locked) r.integer(280, 1);
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
    const AttributeBody a = readAttributeBody(f);
    t.style = f.ref();
    writeTextBody(t, r);
    r.marker("AcDbAttribute");
    writeAttributeBody(a, t, r);
}

void decodeAttdef(ObjectFrame& f, Record& r) {
    TextBody t = readTextBody(f);
    const AttributeBody a = readAttributeBody(f);
    if (f.version() >= Version::R2010) f.data().RC();
    const std::string prompt = f.data().TV();
    t.style = f.ref();
    writeTextBody(t, r);
    r.marker("AcDbAttributeDefinition");
    r.text(3, prompt);
    writeAttributeBody(a, t, r);
}

}  // namespace dwg
