#include "plot/glyphs.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>

namespace plot {

namespace {

// The fonts that draw a family's characters, the family's own first, then the system's
// fallbacks for Chinese, Japanese and Korean; made once in each thread that needs them.
const std::vector<QRawFont>& facesOf(const QString& family) {
    thread_local std::unordered_map<QString, std::vector<QRawFont>> made;
    auto it = made.find(family);
    if (it != made.end()) return it->second;
    QFont query;
    query.setFamilies({family, "DejaVu Sans", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    query.setPixelSize(static_cast<int>(kGlyphUnits));
    query.setHintingPreference(QFont::PreferNoHinting);
    std::vector<QRawFont> faces;
    for (QFontDatabase::WritingSystem system :
         {QFontDatabase::Any, QFontDatabase::SimplifiedChinese, QFontDatabase::Japanese,
          QFontDatabase::Korean}) {
        QRawFont raw = QRawFont::fromFont(query, system);
        if (!raw.isValid() || std::find(faces.begin(), faces.end(), raw) != faces.end()) continue;
        raw.setPixelSize(kGlyphUnits);
        faces.push_back(raw);
    }
    return made.emplace(family, std::move(faces)).first->second;
}

}  // namespace

Glyphs& Glyphs::instance() {
    static Glyphs glyphs;
    return glyphs;
}

int Glyphs::font(const QString& family) {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].family == family) return static_cast<int>(i);
    Font f;
    f.family = family;
    const std::vector<QRawFont>& faces = facesOf(family);
    if (!faces.empty()) {
        if (faces.front().capHeight() > 0) f.metrics.capHeight = faces.front().capHeight();
        f.metrics.descent = faces.front().descent();
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
    const std::vector<QRawFont>& faces = facesOf(fonts_[font].family);
    if (!faces.empty()) {
        // The first font's missing-glyph box when no font has the character.
        auto face = std::find_if(faces.begin(), faces.end(), [c](const QRawFont& raw) {
            return raw.supportsCharacter(static_cast<uint>(c));
        });
        const QRawFont& raw = face == faces.end() ? faces.front() : *face;
        const QList<quint32> indexes = raw.glyphIndexesForString(QString::fromUcs4(&c, 1));
        const quint32 index = indexes.isEmpty() ? 0 : indexes.front();
        const QList<QPointF> advances = raw.advancesForGlyphIndexes({index});
        e.glyph.advance = advances.isEmpty() ? 0 : advances.front().x();
        e.outline = raw.pathForGlyph(index);
    }
    entries_.push_back(std::move(e));
    const auto id = static_cast<uint32_t>(entries_.size() - 1);
    ids_.emplace(key, id);
    return id;
}

double Glyphs::layout(int font, const QString& text, std::vector<uint32_t>& out) {
    out.reserve(out.size() + static_cast<size_t>(text.size()));
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

std::vector<Glyph> Glyphs::glyphs(const std::vector<uint32_t>& ids) {
    std::lock_guard lock(mutex_);
    std::vector<Glyph> out;
    out.reserve(ids.size());
    for (uint32_t id : ids) out.push_back(entries_.at(id).glyph);
    return out;
}

QPainterPath Glyphs::outline(uint32_t id) {
    std::lock_guard lock(mutex_);
    return entries_.at(id).outline;
}

}  // namespace plot
