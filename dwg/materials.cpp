// Materials: their colours and maps. DXF writes a material's value only where it
// differs from the value a new material has, so each group below is written on that
// condition, as the drawing program's own DXF shows them.
#include "dwg/decoders.h"

namespace dwg {
namespace {

// A colour of a material: whether it overrides the object's colour, a factor, and the
// colour itself (DXF holds it as a signed 32-bit value) when it overrides.
struct MaterialColor {
    int method = 0;
    double factor = 1.0;
    int64_t color = 0;
};

MaterialColor readMaterialColor(BitReader& d) {
    MaterialColor c;
    c.method = d.RC();
    c.factor = d.BD();
    if (c.method == 1) c.color = static_cast<int32_t>(static_cast<uint32_t>(d.BL()));
    return c;
}

void writeMaterialColor(const MaterialColor& c, Record& r, int methodCode, int factorCode,
                        int colorCode) {
    if (c.method != 0) r.integer(methodCode, c.method);
    if (c.factor != 1.0) r.real(factorCode, c.factor);
    if (c.method == 1) r.integer(colorCode, c.color);
}

struct MapCodes {
    int blend, source, file, projection, tiling, transform, matrix;
    int usualSource = 1;  // the refraction map's source is left out when 0
};

bool identity(const double (&m)[16]) {
    for (int i = 0; i < 16; ++i)
        if (m[i] != (i % 5 == 0 ? 1.0 : 0.0)) return false;
    return true;
}

// The colours of a procedural texture (wood or marble); other procedural textures,
// which hold a tree of values, are not translated: false.
bool proceduralTexture(BitReader& d, Record& r) {
    const int mode = d.BS();
    if (mode != 0 && mode != 1) return false;
    const MaterialColor first = readMaterialColor(d);
    const MaterialColor second = readMaterialColor(d);
    r.integer(277, mode);
    if (mode == 0) {
        writeMaterialColor(first, r, 278, 460, 95);
        writeMaterialColor(second, r, 279, 461, 96);
    } else {
        writeMaterialColor(first, r, 280, 465, 97);
        writeMaterialColor(second, r, 281, 466, 98);
    }
    return true;
}

// A map: its blend factor, how it is projected, tiled and transformed, and where its
// image comes from (0 the scene, 1 a file, 2 a procedural texture).
bool materialMap(BitReader& d, Record& r, const MapCodes& c) {
    const double blend = d.BD();
    const int projection = d.RC();
    const int tiling = d.RC();
    const int transform = d.RC();
    double matrix[16];
    for (double& v : matrix) v = d.BD();
    const int source = d.RC();
    if (blend != 1.0) r.real(c.blend, blend);
    if (source != c.usualSource) r.integer(c.source, source);
    if (source == 1) {
        const std::string file = d.TV();
        if (!file.empty()) r.text(c.file, file);
    }
    // A new material's maps are projected as stored by 2 (the DXF defaults to 1 and
    // writes the projection only when it is another).
    if (projection != 2) r.integer(c.projection, projection);
    if (tiling != 1) r.integer(c.tiling, tiling);
    if (transform != 1) r.integer(c.transform, transform);
    if (!identity(matrix))
        for (double v : matrix) r.real(c.matrix, v);
    return source != 2 || proceduralTexture(d, r);
}

}  // namespace

void decodeMaterial(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.marker("AcDbMaterial");
    r.text(1, d.TV());
    const std::string description = d.TV();
    if (!description.empty()) r.text(2, description);
    writeMaterialColor(readMaterialColor(d), r, 70, 40, 90);
    writeMaterialColor(readMaterialColor(d), r, 71, 41, 91);
    bool translated = materialMap(d, r, {42, 72, 3, 73, 74, 75, 43});
    // DXF holds the gloss before the specular colour, the DWG after the specular map.
    const MaterialColor specular = readMaterialColor(d);
    Record specularMap;
    translated = translated && materialMap(d, specularMap, {46, 77, 4, 78, 79, 170, 47});
    const double gloss = d.BD();
    if (gloss != 0.5) r.real(44, gloss);
    writeMaterialColor(specular, r, 76, 45, 92);
    r.groups.insert(r.groups.end(), specularMap.groups.begin(), specularMap.groups.end());
    translated = translated && materialMap(d, r, {48, 171, 6, 172, 173, 174, 49});
    const double opacity = d.BD();
    if (opacity != 1.0) r.real(140, opacity);
    translated = translated && materialMap(d, r, {141, 175, 7, 176, 177, 178, 142});
    translated = translated && materialMap(d, r, {143, 179, 8, 270, 271, 272, 144});
    const double refraction = d.BD();
    if (refraction != 1.0) r.real(145, refraction);
    translated = translated && materialMap(d, r, {146, 273, 9, 274, 275, 276, 147, 0});
    if (translated && f.version() >= Version::R2007) {
        const double translucence = d.BD();
        const double selfIllumination = d.BD();
        const double reflectivity = d.BD();
        const int64_t illumination = d.BL();
        const int64_t channels = d.BL();
        const int64_t mode = d.BL();
        if (translucence != 0) r.real(148, translucence);
        if (selfIllumination != 0) r.real(149, selfIllumination);
        if (reflectivity != 0) r.real(468, reflectivity);
        if (illumination != 0) r.integer(93, illumination);
        if (channels != 127) r.integer(94, channels);  // all channels
        if (mode != 0) r.integer(282, mode);
    }
    if (!translated && !d.failed()) r.type.clear();
}

}  // namespace dwg
