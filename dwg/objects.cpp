// The non-graphical objects that layouts and plotting need: dictionaries, extension
// records, layouts and plot settings, groups, dictionary variables, placeholders and
// multiline styles.
#include "dwg/decoders.h"

namespace dwg {
namespace {

// Dictionaries store their cloning flag from 2000 on, those with a default always; the
// byte after it (the hard owner flag, always 0 in R14) is not there in R13's plain ones.
void dictionaryBody(ObjectFrame& f, Record& r, bool withDefault) {
    BitReader& d = f.data();
    const int64_t count = d.BL();
    int cloning = 1, hardOwner = 0;
    if (withDefault || f.version() >= Version::R2000) cloning = d.BS();
    if (withDefault || f.version() >= Version::R14) hardOwner = d.RC();
    if (count < 0 || static_cast<uint64_t>(count) > d.bitsLeft()) {
        d.stop();
        return;
    }
    std::vector<std::string> names;
    for (int64_t i = 0; i < count && !d.failed(); ++i) names.push_back(d.TV());
    r.marker("AcDbDictionary");
    if (hardOwner) r.integer(280, hardOwner);
    r.integer(281, cloning);
    for (const std::string& name : names) {
        r.text(3, name);
        r.hex((hardOwner & 1) ? 360 : 350, f.ref());
    }
}

// Strings of extension records: a length and a code page, or UTF-16 from 2007 on.
std::string recordText(ObjectFrame& f) {
    BitReader& d = f.data();
    if (f.version() >= Version::R2007) {
        const size_t n = static_cast<uint16_t>(d.RS());
        const std::string raw = d.bytes(n * 2);
        return utf16ToUtf8(std::span(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()));
    }
    const size_t n = static_cast<uint16_t>(d.RS());
    d.RC();
    return d.bytes(n);
}

// One value of an extension record, by the type its group code has in DXF.
void recordValue(ObjectFrame& f, Record& r, int code) {
    BitReader& d = f.data();
    const auto in = [code](int low, int high) { return code >= low && code <= high; };
    if (in(0, 4) || in(6, 9) || in(100, 102) || in(300, 309) || in(410, 419) ||
        in(430, 439) || in(470, 479) || in(1000, 1003) || code == 999) {
        r.text(code, recordText(f));
    } else if (code == 5 || code == 105 || in(320, 329) || in(480, 481)) {
        r.text(code, recordText(f));
    } else if (in(10, 39) || in(1010, 1039)) {
        const Point3 p = d.RD3();
        if (code % 100 < 20) {
            r.point(code, p);
        } else {
            r.real(code, p.x);
        }
    } else if (in(40, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1040, 1059)) {
        r.real(code, d.RD());
    } else if (in(60, 79) || in(170, 179) || in(270, 279) || in(370, 389) || in(400, 409) ||
               in(1060, 1070)) {
        r.integer(code, d.RS());
    } else if (in(90, 99) || in(420, 429) || in(440, 459) || code == 1071) {
        r.integer(code, d.RL());
    } else if (in(160, 169)) {
        const uint64_t low = static_cast<uint32_t>(d.RL());
        const uint64_t high = static_cast<uint32_t>(d.RL());
        r.integer(code, static_cast<int64_t>(low | (high << 32)));
    } else if (in(280, 289)) {
        r.integer(code, d.RC());
    } else if (in(290, 299)) {
        r.integer(code, d.RC() ? 1 : 0);
    } else if (in(310, 319) || code == 1004) {
        r.text(code, binaryText(d.bytes(d.RC())));
    } else if (in(330, 369) || in(390, 399) || code == 1005) {
        const uint64_t low = static_cast<uint32_t>(d.RL());
        const uint64_t high = static_cast<uint32_t>(d.RL());
        r.hex(code, low | (high << 32));
    } else {
        d.stop();  // a code DXF does not have: the record cannot be read on
    }
}

// The print settings shared by layouts and named page set-ups.
void plotSettingsBody(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const std::string printer = d.TV();
    const std::string paper = d.TV();
    const int flags = d.BS();
    double margins[4];
    for (double& m : margins) m = d.BD();
    const double width = d.BD();
    const double height = d.BD();
    const std::string media = d.TV();
    const Point2 origin = d.BD2();
    const int paperUnits = d.BS();
    const int rotation = d.BS();
    const int type = d.BS();
    const Point2 windowLow = d.BD2();
    const Point2 windowHigh = d.BD2();
    std::string view;
    if (f.version() <= Version::R2000) {
        view = d.TV();
    } else {
        f.ref();  // the view plotted, by handle
    }
    const double paperScale = d.BD();
    const double drawingScale = d.BD();
    const std::string styleSheet = d.TV();
    const int scaleType = d.BS();
    const double scale = d.BD();
    const Point2 imageOrigin = d.BD2();
    int shadeType = 0, shadeLevel = 2, shadeDpi = 300;
    if (f.version() >= Version::R2004) {
        shadeType = d.BS();
        shadeLevel = d.BS();
        shadeDpi = d.BS();
    }
    if (f.version() >= Version::R2007) f.ref();  // the shade plot visual style
    r.marker("AcDbPlotSettings");
    r.text(1, printer);
    r.text(2, paper);
    r.text(4, media);
    r.text(6, view);
    for (int i = 0; i < 4; ++i) r.real(40 + i, margins[i]);
    r.real(44, width);
    r.real(45, height);
    r.real(46, origin.x);
    r.real(47, origin.y);
    r.real(48, windowLow.x);
    r.real(49, windowLow.y);
    r.real(140, windowHigh.x);
    r.real(141, windowHigh.y);
    r.real(142, paperScale);
    r.real(143, drawingScale);
    r.integer(70, flags);
    r.integer(72, paperUnits);
    r.integer(73, rotation);
    r.integer(74, type);
    r.text(7, styleSheet);
    r.integer(75, scaleType);
    r.real(147, scale);
    r.real(148, imageOrigin.x);
    r.real(149, imageOrigin.y);
    if (f.version() >= Version::R2004) {
        r.integer(76, shadeType);
        r.integer(77, shadeLevel);
        r.integer(78, shadeDpi);
    }
}

}  // namespace

void decodeDictionary(ObjectFrame& f, Record& r) { dictionaryBody(f, r, false); }

void decodeDictionaryWithDefault(ObjectFrame& f, Record& r) {
    dictionaryBody(f, r, true);
    r.marker("AcDbDictionaryWithDefault");
    r.hex(340, f.ref());
}

void decodeXrecord(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int64_t bytes = d.BL();
    if (bytes < 0 || static_cast<uint64_t>(bytes) > d.bitsLeft() / 8) {
        d.stop();
        return;
    }
    const size_t end = d.position() + static_cast<size_t>(bytes) * 8;
    Record values;
    while (d.position() < end && !d.failed()) recordValue(f, values, static_cast<uint16_t>(d.RS()));
    if (d.position() != end) d.stop();
    int cloning = 1;
    if (f.version() >= Version::R2000) cloning = d.BS();
    r.marker("AcDbXrecord");
    r.integer(280, cloning);
    for (Group& g : values.groups) r.groups.push_back(std::move(g));
}

void decodePlaceholder(ObjectFrame&, Record&) {}

void decodeDictionaryVar(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int schema = d.RC();
    const std::string value = d.TV();
    r.marker("DictionaryVariables");
    r.integer(280, schema);
    r.text(1, value);
}

void decodeGroup(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const std::string description = d.TV();
    const int unnamed = d.BS();
    const int selectable = d.BS();
    const int64_t count = d.BL();
    if (count < 0 || static_cast<uint64_t>(count) > f.handles().bitsLeft()) {
        d.stop();
        return;
    }
    r.marker("AcDbGroup");
    r.text(300, description);
    r.integer(70, unnamed);
    r.integer(71, selectable);
    for (int64_t i = 0; i < count && !f.failed(); ++i) r.hex(340, f.ref());
}

void decodePlotSettings(ObjectFrame& f, Record& r) { plotSettingsBody(f, r); }

void decodeLayout(ObjectFrame& f, Record& r) {
    plotSettingsBody(f, r);
    BitReader& d = f.data();
    const std::string name = d.TV();
    const int order = d.BS();
    const int flags = d.BS();
    const Point3 insertion = d.BD3();
    const Point2 limitsLow = d.RD2();
    const Point2 limitsHigh = d.RD2();
    const Point3 origin = d.BD3();
    const Point3 xAxis = d.BD3();
    const Point3 yAxis = d.BD3();
    const double elevation = d.BD();
    const int ortho = d.BS();
    const Point3 extentsLow = d.BD3();
    const Point3 extentsHigh = d.BD3();
    int64_t viewports = 0;
    if (f.version() >= Version::R2004) {
        viewports = d.BL();
        if (viewports < 0 || static_cast<uint64_t>(viewports) > f.handles().bitsLeft()) d.stop();
    }
    const uint64_t block = f.ref();
    const uint64_t activeViewport = f.ref();
    const uint64_t baseUcs = f.ref();
    const uint64_t namedUcs = f.ref();
    for (int64_t i = 0; i < viewports && !f.failed(); ++i) f.ref();
    r.name = name;
    r.marker("AcDbLayout");
    r.text(1, name);
    r.integer(70, flags);
    r.integer(71, order);
    r.point(10, limitsLow);
    r.point(11, limitsHigh);
    r.point(12, insertion);
    r.point(14, extentsLow);
    r.point(15, extentsHigh);
    r.real(146, elevation);
    r.point(13, origin);
    r.point(16, xAxis);
    r.point(17, yAxis);
    r.integer(76, ortho);
    r.hex(330, block);
    r.layout = block;
    if (activeViewport) r.hex(331, activeViewport);
    if (baseUcs) r.hex(346, baseUcs);
    if (namedUcs) r.hex(345, namedUcs);
}

void decodeMlineStyle(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const std::string name = d.TV();
    const std::string description = d.TV();
    const int flags = d.BS();
    const Color fill = d.CMC();
    const double start = d.BD();
    const double end = d.BD();
    const int count = d.RC();
    r.name = name;
    r.marker("AcDbMlineStyle");
    r.text(2, name);
    r.integer(70, flags);
    r.text(3, description);
    r.integer(62, fill.index);
    r.real(51, degrees(start));
    r.real(52, degrees(end));
    r.integer(71, count);
    for (int i = 0; i < count && !d.failed(); ++i) {
        r.real(49, d.BD());
        r.integer(62, d.CMC().index);
        if (f.version() >= Version::R2018) {
            r.nameOf(6, f.ref());
        } else {
            const int index = d.BS();
            r.text(6, index == 32767 ? "BYLAYER" : index == 32766 ? "BYBLOCK" : "CONTINUOUS");
        }
    }
}

}  // namespace dwg
