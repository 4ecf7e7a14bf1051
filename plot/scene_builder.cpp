// Building the scene: the tables (layers, linetypes, text styles, blocks) read once,
// then the active space's entities walked, block references expanded recursively.
#include "plot/scene_builder.h"

#include <cmath>
#include <future>
#include <span>
#include <unordered_map>

#include "plot/colors.h"
#include "plot/entity.h"
#include "plot/linetype_text.h"
#include "plot/object_index.h"
#include "plot/parts.h"
#include "plot/runs.h"

namespace plot {
namespace {

using drawing::Drawing;
using drawing::Kind;
using drawing::kNoName;
using drawing::Record;
using drawing::RefKind;
using drawing::Section;

constexpr int kMaxNesting = 32;  // deeper block references are cyclic or absurd
// A run settles with the plot's budget after this many visits, or once its scene has
// grown by this many points and glyphs since it last did.
constexpr uint64_t kVisitsPerSettling = 256;
constexpr uint64_t kPointsPerSettling = 1 << 16;
constexpr double kDefaultLineweight = 0.25;
constexpr int kViewportOff = 0x20000;  // of a viewport's status flags
const QString kSansSerif = "DejaVu Sans";

struct Layer {
    bool plotted = true;  // not frozen, not off, plottable
    bool frozen = false;
    Pen pen;  // colour, lineweight and linetype resolved below
    uint32_t linetype = kNoName;
};

struct Block {
    QPointF base;
    std::vector<size_t> entities;
    bool dimension = false;  // a dimension's drawing (*D...): its texts never wrap
};

// The entities of model or paper space that are not part of another.
std::vector<size_t> topLevelEntities(const Drawing& d, bool paper) {
    std::vector<size_t> top;
    for (size_t i = 0; i < d.size(); ++i) {
        const Record& r = d.record(i);
        if (r.section == Section::Entities && !r.deleted && r.paperSpace == paper && drawing::isOwnEntity(r))
            top.push_back(i);
    }
    return top;
}

TextStyle textStyle(const QString& family) {
    Glyphs& glyphs = Glyphs::instance();
    TextStyle style;
    style.font = glyphs.font(family);
    style.metrics = glyphs.metrics(style.font);
    return style;
}

// The box of what a scene draws; a lone point or an axis-parallel line still has one,
// if a thin one.
struct Bounds {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;

    void add(const QRectF& r, double margin) {
        x0 = std::min(x0, r.left() - margin), x1 = std::max(x1, r.right() + margin);
        y0 = std::min(y0, r.top() - margin), y1 = std::max(y1, r.bottom() + margin);
    }
    void add(const Bounds& b) {
        x0 = std::min(x0, b.x0), x1 = std::max(x1, b.x1);
        y0 = std::min(y0, b.y0), y1 = std::max(y1, b.y1);
    }
    QRectF rect() const {
        return x0 <= x1 && y0 <= y1 ? QRectF(QPointF(x0, y0), QPointF(x1, y1)) : QRectF();
    }
};

// The properties an entity inherits from the block reference that shows it.
struct Context {
    QTransform t;                  // the block's coordinates to drawing units
    const Layer* layer = nullptr;  // the reference's layer, for entities on layer 0
    Pen byBlock;
    int depth = 0;
    const std::vector<uint32_t>* frozenHere = nullptr;  // layers frozen in the viewport
};

template <typename T>
const T* lookUp(const std::unordered_map<uint32_t, T>& map, uint32_t name) {
    auto it = map.find(name);
    return it == map.end() ? nullptr : &it->second;
}

// The drawing's layers, linetypes, text styles and blocks, read once for every run.
// Names are the drawing's interned folded names: an entity's layer, linetype, text style
// and block come from the references read with the drawing, without folding a text.
class Tables {
public:
    Tables(const Drawing& d, bool paper) : paper(paper), objects(d), d_(d) {
        std::string text;
        if (d_.header("$LTSCALE", text)) ltscale = toNumber(text, 1);
        if (d_.header("$FILLMODE", text)) fillSolids = toNumber(text, 1) != 0;
        layerZero = d_.findName("0");
        byLayer = d_.findName("BYLAYER");
        byBlock = d_.findName("BYBLOCK");
        standard = d_.findName("STANDARD");
        readTables();
        if (paper) model = topLevelEntities(d_, false);
    }

    // The first name of `kind` that record i refers to; kNoName when it names none.
    uint32_t nameOf(size_t i, RefKind kind) const {
        for (const drawing::Ref& ref : d_.refs(i))
            if (ref.kind == kind) return ref.name;
        return kNoName;
    }

    std::vector<double> dashesOf(uint32_t linetype) const {
        const std::vector<double>* dashes = lookUp(linetypes, linetype);
        return dashes ? *dashes : std::vector<double>{};
    }

    double ltscale = 1;
    bool fillSolids = true;
    uint32_t layerZero = kNoName, byLayer = kNoName, byBlock = kNoName, standard = kNoName;
    const bool paper;
    std::unordered_map<uint32_t, Layer> layers;
    std::unordered_map<uint64_t, uint32_t> layerNames;  // by the layer's handle
    std::unordered_map<uint32_t, std::vector<double>> linetypes;
    std::unordered_map<uint32_t, std::vector<LinetypeText>> lineTexts;  // complex linetypes
    std::unordered_map<uint32_t, TextStyle> styles;
    std::unordered_map<uint32_t, Block> blocks;
    std::vector<size_t> model;  // model space's entities, for a paper layout's viewports
    Layer defaultLayer;
    TextStyle defaultStyle = textStyle(kSansSerif);
    const ObjectIndex objects;

private:
    void readTables() {
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted) continue;
            if (r.kind == Kind::Layer) readLayer(i);
            if (r.kind == Kind::Linetype) readLinetype(i);
            if (r.kind == Kind::Style) readStyle(i);
            if (r.kind == Kind::Block) {
                const EntityGroups g(d_, i);
                Block& block = blocks[r.name];
                block.base = g.point(10);
                const std::string_view name = g.raw(2);
                block.dimension =
                    name.size() > 1 && name[0] == '*' && (name[1] == 'D' || name[1] == 'd');
            }
        }
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted || r.section != Section::Blocks || r.block < 0 ||
                static_cast<size_t>(r.block) == i || !drawing::isOwnEntity(r))
                continue;
            blocks[d_.record(static_cast<size_t>(r.block)).name].entities.push_back(i);
        }
        for (auto& [name, layer] : layers) layer.pen.dashes = dashesOf(layer.linetype);
    }

    void readLayer(size_t i) {
        const EntityGroups g(d_, i);
        Layer layer;
        const int color = g.integer(62, 7);
        layer.frozen = g.integer(70) & 1;
        layer.plotted = color >= 0 && !layer.frozen && g.integer(290, 1) != 0;
        layer.pen.aci = std::abs(color);
        layer.pen.color = aciColor(layer.pen.aci);
        if (g.has(420)) {
            layer.pen.color = QColor::fromRgb(static_cast<QRgb>(g.integer(420)) | 0xff000000u);
            layer.pen.aci = 0;
        }
        const int weight = g.integer(370, -3);
        layer.pen.lineweight = weight >= 0 ? weight / 100.0 : kDefaultLineweight;
        layer.linetype = nameOf(i, RefKind::Linetype);
        layers[d_.record(i).name] = layer;
        layerNames[d_.record(i).handle] = d_.record(i).name;
    }

    void readLinetype(size_t i) {
        const EntityGroups g(d_, i);
        std::vector<double> dashes;
        for (const auto& [code, value] : g.list())
            if (code == 49) dashes.push_back(toNumber(value));
        linetypes[d_.record(i).name] = dashes;
        if (auto texts = linetypeTexts(g); !texts.empty())
            lineTexts[d_.record(i).name] = std::move(texts);
    }

    // The style's font: a TrueType file names its family, any other font file plots in
    // the system's sans-serif font.
    void readStyle(size_t i) {
        const EntityGroups g(d_, i);
        const QString file = g.text(3);
        const qsizetype dot = file.lastIndexOf('.');
        const QString ext = file.mid(dot + 1).toLower();
        TextStyle style = textStyle(dot > 0 && (ext == "ttf" || ext == "ttc" || ext == "otf")
                                        ? file.left(dot).section('/', -1).section('\\', -1)
                                        : kSansSerif);
        style.widthFactor = g.number(41, 1);
        if (style.widthFactor <= 0) style.widthFactor = 1;
        style.oblique = g.number(50, 0);
        styles[d_.record(i).name] = style;
    }

    const Drawing& d_;
};

class Builder {
public:
    Builder(const Drawing& d, const Tables& tables, PlotBudget& budget)
        : d_(d), t_(tables), budget_(budget) {}

    // The scene of the top-level entities `top`, and the bounds of what it draws.
    Scene build(std::span<const size_t> top, Bounds& bounds) {
        // Room for a simple drawing's outlines: memory reserved but not used costs
        // nothing, growing a large array costs copies.
        scene_.items.reserve(top.size());
        scene_.elements.reserve(8 * top.size());
        const Context context;
        for (size_t i : top) entity(i, context);
        extents(bounds);
        return std::move(scene_);
    }

private:
    uint32_t nameOf(size_t i, RefKind kind) const { return t_.nameOf(i, kind); }

    // One visit (an entity or an array cell) spent from the budget, which hears of it
    // and of the points drawn now and then. False once the plot is to end.
    bool afford() {
        if (ended_) return false;
        ++visits_;
        const uint64_t drawn = scene_.elements.size() + scene_.glyphs.size();
        if (visits_ < kVisitsPerSettling && drawn - settled_ < kPointsPerSettling) return true;
        ended_ = !budget_.spend(visits_ * PlotBudget::kVisitUnits + (drawn - settled_));
        visits_ = 0;
        settled_ = drawn;
        return !ended_;
    }

    // Record i's pen; its layer, or nullptr when the layer does not plot.
    const Layer* penOf(size_t i, const EntityGroups& g, const Context& c, Pen& pen) const {
        const uint32_t layerName = nameOf(i, RefKind::Layer);
        const Layer* layer = nullptr;
        if (layerName != kNoName && layerName == t_.layerZero && c.layer) {
            layer = c.layer;
        } else {
            layer = lookUp(t_.layers, layerName);
            if (!layer) layer = &t_.defaultLayer;
        }
        if (!layer->plotted) return nullptr;
        if (c.frozenHere &&
            std::find(c.frozenHere->begin(), c.frozenHere->end(), layerName) != c.frozenHere->end())
            return nullptr;
        const int aci = g.integer(62, 256);
        if (g.has(420)) {
            pen.color = QColor::fromRgb(static_cast<QRgb>(g.integer(420)) | 0xff000000u);
            pen.aci = 0;
        } else if (aci == 0) {
            pen.color = c.byBlock.color, pen.aci = c.byBlock.aci;
        } else if (aci > 0 && aci < 256) {
            pen.color = aciColor(aci), pen.aci = aci;
        } else {
            pen.color = layer->pen.color, pen.aci = layer->pen.aci;
        }
        const int weight = g.integer(370, -1);
        pen.lineweight = weight >= 0    ? weight / 100.0
                         : weight == -2 ? c.byBlock.lineweight
                         : weight == -3 ? kDefaultLineweight
                                        : layer->pen.lineweight;
        const uint32_t linetype = nameOf(i, RefKind::Linetype);
        double scale = t_.ltscale * g.number(48, 1);
        if (linetype == kNoName || linetype == t_.byLayer) {
            pen.dashes = layer->pen.dashes;
        } else if (linetype == t_.byBlock) {
            pen.dashes = c.byBlock.dashes;
            scale = 1;
        } else {
            pen.dashes = t_.dashesOf(linetype);
        }
        for (double& d : pen.dashes) d *= scale;
        return layer;
    }

    bool inDimension(size_t i) const {
        const int32_t home = d_.record(i).block;
        const Block* block = home >= 0 ? lookUp(t_.blocks, d_.record(home).name) : nullptr;
        return block && block->dimension;
    }

    const TextStyle& styleOf(size_t i) const {
        const TextStyle* style = lookUp(t_.styles, nameOf(i, RefKind::TextStyle));
        if (!style) style = lookUp(t_.styles, t_.standard);
        return style ? *style : t_.defaultStyle;
    }

    void entity(size_t i, const Context& c) {
        if (!afford()) return;
        const EntityGroups g(d_, i);
        if (g.type() == "VIEWPORT") {
            if (t_.paper && c.depth == 0 && !c.frozenHere) viewport(i, g, c);
            return;
        }
        // Invisible: a dynamic block's other visibility states, hidden objects.
        if (g.integer(60) == 1) return;
        Pen pen;
        const Layer* layer = penOf(i, g, c, pen);
        if (!layer) return;
        Out out(scene_, pen);
        const std::string_view type = g.type();
        const size_t first = scene_.items.size();
        // Every kind of dimension is drawn through the block its group 2 names.
        const bool dimension = drawing::isDimension(type);
        if (type == "INSERT") {
            insert(i, g, pen, layer, c);
        } else if (dimension) {
            const Block* block = lookUp(t_.blocks, nameOf(i, RefKind::Block));
            if (block) blockEntities(*block, c.t, pen, layer, c);
        } else if (type == "POLYLINE") {
            std::vector<EntityGroups> vertices;
            for (size_t j = i + 1; j < d_.size() && d_.record(j).kind == Kind::Vertex; ++j)
                vertices.emplace_back(d_, j);
            drawPolyline(g, vertices, c.t, out);
        } else if (type == "TEXT" || type == "MTEXT" || type == "ATTRIB" ||
                   (type == "ATTDEF" && c.depth == 0)) {
            drawText(g, styleOf(i), c.t, out, !inDimension(i));
        } else if (!drawShape(g, c.t, out, t_.fillSolids)) {
            EntityParts parts(*this, i, pen, layer, c);
            drawParts(g, parts);
        }
        if (!t_.lineTexts.empty() && type != "INSERT" && !dimension)
            lineTexts(i, g, layer, first);
    }

    // The texts of the entity's complex linetype along what it drew from item `first` on.
    void lineTexts(size_t i, const EntityGroups& g, const Layer* layer, size_t first) {
        uint32_t linetype = nameOf(i, RefKind::Linetype);
        if (linetype == kNoName || linetype == t_.byLayer) linetype = layer->linetype;
        const std::vector<LinetypeText>* texts = lookUp(t_.lineTexts, linetype);
        if (!texts) return;
        drawLinetypeTexts(
            scene_, first, t_.dashesOf(linetype), *texts, t_.ltscale * g.number(48, 1),
            [&](uint64_t handle) -> const TextStyle& { return styleOfHandle(handle, i); });
    }

    // The text style whose STYLE record has `handle`, else the one entity i names.
    const TextStyle& styleOfHandle(uint64_t handle, size_t i) const {
        const int32_t r = t_.objects.recordOf(handle);
        const TextStyle* style =
            r >= 0 ? lookUp(t_.styles, d_.record(static_cast<size_t>(r)).name) : nullptr;
        return style ? *style : styleOf(i);
    }

    // The builder as the parts of entity i, drawn with `pen` on `layer`, see it.
    class EntityParts : public Parts {
    public:
        EntityParts(Builder& b, size_t i, const Pen& pen, const Layer* layer, const Context& c)
            : b_(b), i_(i), pen_(pen), layer_(layer), c_(c) {}

        Pen pen(const PartColor& color, uint32_t linetype, int weight,
                uint32_t layerName) const override {
            const Tables& t = b_.t_;
            const Layer* layer = layer_;
            if (layerName != kNoName && layerName != t.layerZero)
                if (const Layer* named = lookUp(t.layers, layerName)) layer = named;
            Pen p = pen_;
            if (color.trueColor) {
                p.color = QColor::fromRgb(color.rgb), p.aci = 0;
            } else if (color.aci >= 1 && color.aci <= 255) {
                p.color = aciColor(color.aci), p.aci = color.aci;
            } else if (color.aci != 0) {
                p.color = layer->pen.color, p.aci = layer->pen.aci;
            }
            p.lineweight = weight >= 0    ? weight / 100.0
                           : weight == -1 ? layer->pen.lineweight
                           : weight == -3 ? kDefaultLineweight
                                          : pen_.lineweight;
            if ((linetype == t.byLayer && linetype != kNoName) ||
                (linetype == kNoName && layer != layer_)) {
                p.dashes = layer->pen.dashes;
                for (double& d : p.dashes) d *= t.ltscale;
            } else if (linetype != kNoName && linetype != t.byBlock) {
                p.dashes = t.dashesOf(linetype);
                for (double& d : p.dashes) d *= t.ltscale;
            }
            return p;
        }
        const Pen& entityPen() const override { return pen_; }
        bool block(uint32_t name, const QTransform& t, const Pen& pen) override {
            const Block* block = lookUp(b_.t_.blocks, name);
            if (!block) return false;
            b_.blockEntities(
                *block, QTransform::fromTranslate(-block->base.x(), -block->base.y()) * t * c_.t,
                pen, layer_, c_);
            return true;
        }
        uint32_t ownBlock() const override { return b_.nameOf(i_, RefKind::Block); }
        const Drawing& drawing() const override { return b_.d_; }
        int32_t recordOf(uint64_t handle) const override { return b_.t_.objects.recordOf(handle); }
        const TextStyle& textStyle(uint64_t handle) const override {
            return b_.styleOfHandle(handle, i_);
        }
        const TextStyle& styleOfRecord(size_t record) const override { return b_.styleOf(record); }
        uint32_t layerAt(int64_t index) const override { return b_.t_.objects.layerAt(index); }
        uint32_t linetypeAt(int64_t index) const override {
            return b_.t_.objects.linetypeAt(index);
        }
        bool wipeoutFrames() const override { return b_.t_.objects.wipeoutFrames(); }
        const QTransform& t() const override { return c_.t; }
        Scene& scene() const override { return b_.scene_; }

    private:
        Builder& b_;
        size_t i_;
        const Pen& pen_;
        const Layer* layer_;
        const Context& c_;
    };

    // A viewport of a paper-space layout: model space seen through its rectangle at its
    // scale (plan views only), without the layers frozen in it; then its frame, which
    // plots on its layer like any line.
    void viewport(size_t i, const EntityGroups& g, const Context& c) {
        const Layer* own = lookUp(t_.layers, nameOf(i, RefKind::Layer));
        if (own && own->frozen) return;
        const double width = g.number(40), height = g.number(41), viewHeight = g.number(45);
        const bool planView =
            std::abs(g.number(16)) < 1e-9 && std::abs(g.number(26)) < 1e-9 && g.number(36, 1) > 0;
        // Viewport 1 is the layout's own view, not a window onto model space.
        if (g.integer(69, 2) == 1 || g.integer(68, 1) <= 0 || (g.integer(90) & kViewportOff) ||
            width <= 0 || height <= 0 || viewHeight <= 0 || !planView)
            return;
        const QPointF center = g.point(10), viewCenter = g.point(12), target = g.point(17);
        QPainterPath frame;
        frame.addRect(QRectF(center.x() - width / 2, center.y() - height / 2, width, height));
        frame = c.t.map(frame);

        std::vector<uint32_t> frozen;
        for (const auto& [code, value] : g.list())
            if (code == 331)
                if (auto it = t_.layerNames.find(drawing::parseHandle(value));
                    it != t_.layerNames.end())
                    frozen.push_back(it->second);
        Context inside;
        inside.t = QTransform::fromTranslate(-target.x(), -target.y());
        inside.t *= QTransform().rotate(g.number(51));
        inside.t *= QTransform::fromTranslate(-viewCenter.x(), -viewCenter.y());
        inside.t *= QTransform::fromScale(height / viewHeight, height / viewHeight);
        inside.t *= QTransform::fromTranslate(center.x(), center.y());
        inside.t *= c.t;
        inside.frozenHere = &frozen;
        Out(scene_, Pen()).clipBegin(frame);
        for (size_t j : t_.model) entity(j, inside);
        Out(scene_, Pen()).clipEnd();

        Pen pen;
        if (penOf(i, g, c, pen)) Out(scene_, pen).stroke(frame);
    }

    // A block reference: every column and row of its array, then its attributes.
    void insert(size_t i, const EntityGroups& g, const Pen& pen, const Layer* layer,
                const Context& c) {
        const int columns = std::max(1, g.integer(70, 1));
        const int rows = std::max(1, g.integer(71, 1));
        const double dx = g.number(44, 0), dy = g.number(45, 0);
        if (const Block* block = lookUp(t_.blocks, nameOf(i, RefKind::Block))) {
            const double sx = g.number(41, 1), sy = g.number(42, 1);
            const QPointF at = g.point(10), base = block->base;
            // A cell: the block scaled about its base point and moved to its place in the
            // array; then all cells turned and moved to the insertion point alike.
            QTransform place = QTransform().rotate(g.number(50, 0));
            place *= QTransform::fromTranslate(at.x(), at.y());
            place = place * g.ocs() * c.t;
            for (int row = 0; row < rows; ++row)
                for (int col = 0; col < columns; ++col) {
                    if (!afford()) return;
                    const QTransform cell(sx, 0, 0, sy, col * dx - sx * base.x(),
                                          row * dy - sy * base.y());
                    blockEntities(*block, cell * place, pen, layer, c);
                }
        }
        if (!d_.record(i).attribsFollow) return;
        // The attributes show on every cell of an array, moved as their cell is.
        const QTransform turn = QTransform().rotate(g.number(50, 0)) * g.ocs();
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < columns; ++col) {
                if (!afford()) return;
                const QPointF shift = turn.map(QPointF(col * dx, row * dy));
                Context cell = c;
                cell.t = QTransform::fromTranslate(shift.x(), shift.y()) * c.t;
                for (size_t j = i + 1; j < d_.size() && d_.record(j).kind == Kind::Attrib; ++j)
                    entity(j, cell);
            }
    }

    // The entities of `block` as a reference on `layer` with `pen` shows them; `t` maps
    // the block's coordinates to drawing units.
    void blockEntities(const Block& block, const QTransform& t, const Pen& pen, const Layer* layer,
                       const Context& c) {
        if (c.depth >= kMaxNesting) return;
        Context inner;
        inner.t = t;
        inner.layer = layer;
        inner.byBlock = pen;
        inner.depth = c.depth + 1;
        for (size_t j : block.entities) entity(j, inner);
    }

    // What a viewport shows counts only as far as its frame.
    void extents(Bounds& b) const {
        int clipped = 0;
        for (const SceneItem& item : scene_.items) {
            if (item.kind == SceneItem::Kind::ClipEnd) --clipped;
            if (clipped > 0 || item.kind == SceneItem::Kind::Infinite ||
                item.kind == SceneItem::Kind::ClipEnd || item.begin == item.end)
                continue;
            if (item.kind == SceneItem::Kind::ClipBegin) ++clipped;
            const QRectF r =
                item.kind == SceneItem::Kind::Text
                    ? scene_.texts[item.begin].place.mapRect(scene_.texts[item.begin].box)
                    : outlineBox(scene_, item);
            b.add(r, item.width / 2);
        }
    }

    const Drawing& d_;
    const Tables& t_;
    PlotBudget& budget_;
    Scene scene_;
    uint64_t visits_ = 0;   // not yet spent from the budget
    uint64_t settled_ = 0;  // points and glyphs spent from the budget
    bool ended_ = false;
};

// Appends `part` to `scene`, its indexes moved past what the scene holds.
void append(Scene& scene, Scene part) {
    const auto elements = static_cast<uint32_t>(scene.elements.size());
    const auto texts = static_cast<uint32_t>(scene.texts.size());
    const auto glyphs = static_cast<uint32_t>(scene.glyphs.size());
    for (SceneItem& item : part.items) {
        const uint32_t shift = item.kind == SceneItem::Kind::Text ? texts : elements;
        item.begin += shift, item.end += shift;
    }
    for (SceneText& text : part.texts) text.glyphBegin += glyphs, text.glyphEnd += glyphs;
    auto move = [](auto& to, auto& from) { to.insert(to.end(), from.begin(), from.end()); };
    move(scene.items, part.items);
    move(scene.elements, part.elements);
    move(scene.texts, part.texts);
    move(scene.glyphs, part.glyphs);
    scene.simplifiedHatches += part.simplifiedHatches;
}

}  // namespace

Scene buildScene(drawing::AcadDocument& document) {
    PlotBudget budget;
    return buildScene(document, budget);
}

Scene buildScene(drawing::AcadDocument& document, PlotBudget& budget) {
    const Drawing& d = document.drawing();
    const bool paper = document.activeSpace() == 0;
    const std::vector<size_t> top = topLevelEntities(d, paper);
    // A large drawing is built in runs side by side, then joined in drawing order.
    const size_t runs = parallelRuns(top.size());
    const Tables tables(d, paper);
    auto run = [&](size_t r, Bounds& bounds) {
        const std::span<const size_t> all(top);
        return Builder(d, tables, budget)
            .build(all.subspan(top.size() * r / runs,
                               top.size() * (r + 1) / runs - top.size() * r / runs),
                   bounds);
    };
    std::vector<Bounds> bounds(runs);
    std::vector<std::future<Scene>> later;
    for (size_t r = 1; r < runs; ++r)
        later.push_back(std::async(std::launch::async, run, r, std::ref(bounds[r])));
    Scene scene = run(0, bounds[0]);
    for (size_t r = 1; r < runs; ++r) {
        append(scene, later[r - 1].get());
        bounds[0].add(bounds[r]);
    }
    scene.extents = bounds[0].rect();
    return scene;
}

}  // namespace plot
