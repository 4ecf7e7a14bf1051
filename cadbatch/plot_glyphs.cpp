#include "cadbatch/plot_glyphs.h"

#include <QFont>
#include <QFontDatabase>

namespace cadplot {

Glyphs& Glyphs::instance() {
    static Glyphs glyphs;
    return glyphs;
}

int Glyphs::faceOf(const QRawFont& raw) {
    for (size_t i = 0; i < faces_.size(); ++i)
        if (faces_[i] == raw) return static_cast<int>(i);
    faces_.push_back(raw);
    return static_cast<int>(faces_.size() - 1);
}

int Glyphs::font(const QString& family) {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].family == family) return static_cast<int>(i);
    QFont query;
    query.setFamilies({family, "DejaVu Sans", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    query.setPixelSize(static_cast<int>(kGlyphUnits));
    query.setHintingPreference(QFont::PreferNoHinting);
    Font f;
    f.family = family;
    for (QFontDatabase::WritingSystem system :
         {QFontDatabase::Any, QFontDatabase::SimplifiedChinese, QFontDatabase::Japanese,
          QFontDatabase::Korean}) {
        QRawFont raw = QRawFont::fromFont(query, system);
        if (!raw.isValid()) continue;
        raw.setPixelSize(kGlyphUnits);
        const int face = faceOf(raw);
        if (std::find(f.faces.begin(), f.faces.end(), face) == f.faces.end())
            f.faces.push_back(face);
    }
    if (!f.faces.empty()) {
        const QRawFont& own = faces_[f.faces.front()];
        if (own.capHeight() > 0) f.metrics.capHeight = own.capHeight();
        f.metrics.descent = own.descent();
    }
    fonts_.push_back(std::move(f));
    return static_cast<int>(fonts_.size() - 1);
}

FontMetrics Glyphs::metrics(int font) {
    std::lock_guard lock(mutex_);
    return fonts_.at(font).metrics;
}

uint32_t Glyphs::glyphOf(int font, char32_t c) {
    const uint64_t key = (static_cast<uint64_t>(font) << 32) | c;
    auto it = ids_.find(key);
    if (it != ids_.end()) return it->second;
    Entry e;
    e.glyph.character = c;
    const std::vector<int>& faces = fonts_[font].faces;
    if (!faces.empty()) {
        e.face = faces.front();  // its missing-glyph box when no font has the character
        for (int face : faces)
            if (faces_[face].supportsCharacter(static_cast<uint>(c))) {
                e.face = face;
                break;
            }
        const QRawFont& raw = faces_[e.face];
        const QList<quint32> indexes = raw.glyphIndexesForString(QString::fromUcs4(&c, 1));
        e.index = indexes.isEmpty() ? 0 : indexes.front();
        const QList<QPointF> advances = raw.advancesForGlyphIndexes({e.index});
        e.glyph.advance = advances.isEmpty() ? 0 : advances.front().x();
    }
    entries_.push_back(e);
    const auto id = static_cast<uint32_t>(entries_.size() - 1);
    ids_.emplace(key, id);
    return id;
}

double Glyphs::layout(int font, const QString& text, std::vector<uint32_t>& out) {
    std::lock_guard lock(mutex_);
    double advance = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(text[i], text[i + 1]), ++i;
        const uint32_t id = glyphOf(font, c);
        out.push_back(id);
        advance += entries_[id].glyph.advance;
    }
    return advance;
}

Glyph Glyphs::glyph(uint32_t id) {
    std::lock_guard lock(mutex_);
    return entries_.at(id).glyph;
}

QPainterPath Glyphs::outline(uint32_t id) {
    std::lock_guard lock(mutex_);
    const Entry& e = entries_.at(id);
    if (faces_.empty()) return {};
    return faces_[e.face].pathForGlyph(e.index);
}

}  // namespace cadplot
