// Building the scene: the tables (layers, linetypes, text styles, blocks) read once,
// then the active space's entities walked, block references expanded recursively.
#include "cadbatch/plot_scene.h"

#include <cmath>
#include <unordered_map>

#include "cadbatch/plot_colors.h"
#include "cadbatch/plot_entity.h"

namespace cadplot {
namespace {

using cadbatch::Drawing;
using cadbatch::Kind;
using cadbatch::Record;
using cadbatch::Section;

constexpr int kMaxNesting = 32;  // deeper block references are cyclic or absurd
constexpr double kDefaultLineweight = 0.25;

struct Layer {
    bool plotted = true;  // not frozen, not off, plottable
    Pen pen;              // colour, lineweight and linetype name resolved below
    std::string linetype;
};

struct Block {
    QPointF base;
    std::vector<size_t> entities;
};

// The properties an entity inherits from the block reference that shows it.
struct Context {
    QTransform t;                  // the block's coordinates to drawing units
    const Layer* layer = nullptr;  // the reference's layer, for entities on layer 0
    Pen byBlock;
    int depth = 0;
};

std::string upper(const std::string& s) { return cadbatch::foldName(s); }

class Builder {
public:
    explicit Builder(Drawing& d) : d_(d) {
        std::string text;
        if (d_.header("$LTSCALE", text)) ltscale_ = toNumber(text, 1);
        if (d_.header("$FILLMODE", text)) fillSolids_ = toNumber(text, 1) != 0;
        readTables();
    }

    Scene build(bool paper) {
        Context top;
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.section == Section::Entities && !r.deleted && r.paperSpace == paper &&
                isTopLevel(r))
                entity(i, top);
        }
        extents();
        return std::move(scene_);
    }

private:
    static bool isTopLevel(const Record& r) {
        return r.kind != Kind::Attrib && r.kind != Kind::Vertex && r.kind != Kind::Seqend &&
               r.kind != Kind::Section && r.kind != Kind::EndSec && r.kind != Kind::EndBlk &&
               r.kind != Kind::Block;
    }

    void readTables() {
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted) continue;
            if (r.kind == Kind::Layer) readLayer(i);
            if (r.kind == Kind::Linetype) readLinetype(i);
            if (r.kind == Kind::Style) readStyle(i);
            if (r.kind == Kind::Block) {
                const EntityGroups g(d_, i);
                blocks_[upper(g.raw(2))].base = g.point(10);
            }
        }
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted || r.section != Section::Blocks || r.block < 0 ||
                static_cast<size_t>(r.block) == i || !isTopLevel(r))
                continue;
            std::string name;
            d_.value(static_cast<size_t>(r.block), 2, name);
            blocks_[upper(name)].entities.push_back(i);
        }
        for (auto& [name, layer] : layers_) layer.pen.dashes = dashesOf(layer.linetype);
    }

    void readLayer(size_t i) {
        const EntityGroups g(d_, i);
        Layer layer;
        const int color = g.integer(62, 7);
        layer.plotted = color >= 0 && !(g.integer(70) & 1) && g.integer(290, 1) != 0;
        layer.pen.aci = std::abs(color);
        layer.pen.color = aciColor(layer.pen.aci);
        if (g.has(420)) {
            layer.pen.color = QColor::fromRgb(static_cast<QRgb>(g.integer(420)) | 0xff000000u);
            layer.pen.aci = 0;
        }
        const int weight = g.integer(370, -3);
        layer.pen.lineweight = weight >= 0 ? weight / 100.0 : kDefaultLineweight;
        layer.linetype = upper(g.raw(6));
        layers_[upper(g.raw(2))] = layer;
    }

    void readLinetype(size_t i) {
        const EntityGroups g(d_, i);
        std::vector<double> dashes;
        for (const auto& [code, value] : g.list())
            if (code == 49) dashes.push_back(toNumber(value));
        linetypes_[upper(g.raw(2))] = dashes;
    }

    void readStyle(size_t i) {
        const EntityGroups g(d_, i);
        TextStyle style;
        const QString file = g.text(3);
        const qsizetype dot = file.lastIndexOf('.');
        const QString ext = file.mid(dot + 1).toLower();
        if (dot > 0 && (ext == "ttf" || ext == "ttc" || ext == "otf"))
            style.family = file.left(dot).section('/', -1).section('\\', -1);
        style.widthFactor = g.number(41, 1);
        if (style.widthFactor <= 0) style.widthFactor = 1;
        style.oblique = g.number(50, 0);
        styles_[upper(g.raw(2))] = style;
    }

    std::vector<double> dashesOf(const std::string& linetype) const {
        auto it = linetypes_.find(linetype);
        return it == linetypes_.end() ? std::vector<double>{} : it->second;
    }

    // The entity's pen and whether its layer plots.
    bool penOf(const EntityGroups& g, const Context& c, Pen& pen) const {
        std::string layerName = upper(g.raw(8));
        const Layer* layer = nullptr;
        if (layerName == "0" && c.layer) {
            layer = c.layer;
        } else {
            auto it = layers_.find(layerName);
            layer = it == layers_.end() ? &defaultLayer_ : &it->second;
        }
        if (!layer->plotted) return false;
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
        const std::string linetype = upper(g.raw(6));
        double scale = ltscale_ * g.number(48, 1);
        if (linetype.empty() || linetype == "BYLAYER") {
            pen.dashes = layer->pen.dashes;
        } else if (linetype == "BYBLOCK") {
            pen.dashes = c.byBlock.dashes;
            scale = 1;
        } else {
            pen.dashes = dashesOf(linetype);
        }
        for (double& d : pen.dashes) d *= scale;
        return true;
    }

    const Layer* layerFor(const EntityGroups& g, const Context& c) const {
        const std::string name = upper(g.raw(8));
        if (name == "0" && c.layer) return c.layer;
        auto it = layers_.find(name);
        return it == layers_.end() ? &defaultLayer_ : &it->second;
    }

    const TextStyle& styleOf(const EntityGroups& g) const {
        auto it = styles_.find(upper(g.raw(7)));
        if (it == styles_.end()) it = styles_.find("STANDARD");
        return it == styles_.end() ? defaultStyle_ : it->second;
    }

    void entity(size_t i, const Context& c) {
        const EntityGroups g(d_, i);
        Pen pen;
        if (!penOf(g, c, pen)) return;
        Out out(scene_, pen);
        const std::string& type = g.type();
        if (type == "INSERT") {
            insert(i, g, pen, c);
        } else if (type == "DIMENSION") {
            blockOf(upper(g.raw(2)), QTransform(), g, pen, c);
        } else if (type == "POLYLINE") {
            std::vector<EntityGroups> vertices;
            for (size_t j = i + 1; j < d_.size() && d_.record(j).kind == Kind::Vertex; ++j)
                vertices.emplace_back(d_, j);
            drawPolyline(g, vertices, c.t, out);
        } else if (type == "TEXT" || type == "MTEXT" || type == "ATTRIB" ||
                   (type == "ATTDEF" && c.depth == 0)) {
            drawText(g, styleOf(g), c.t, out);
        } else {
            drawShape(g, c.t, out, fillSolids_);
        }
    }

    // A block reference: every column and row of its array, then its attributes.
    void insert(size_t i, const EntityGroups& g, const Pen& pen, const Context& c) {
        const std::string name = upper(g.raw(2));
        const double sx = g.number(41, 1), sy = g.number(42, 1);
        const double rotation = g.number(50, 0);
        const int columns = std::max(1, g.integer(70, 1)), rows = std::max(1, g.integer(71, 1));
        const double dx = g.number(44, 0), dy = g.number(45, 0);
        const QPointF at = g.point(10);
        auto block = blocks_.find(name);
        const QPointF base = block == blocks_.end() ? QPointF() : block->second.base;
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < columns; ++col) {
                QTransform t = QTransform::fromTranslate(-base.x(), -base.y());
                t *= QTransform::fromScale(sx, sy);
                t *= QTransform::fromTranslate(col * dx, row * dy);
                t *= QTransform().rotate(rotation);
                t *= QTransform::fromTranslate(at.x(), at.y());
                blockOf(name, t * g.ocs(), g, pen, c);
            }
        if (!d_.record(i).attribsFollow) return;
        for (size_t j = i + 1; j < d_.size() && d_.record(j).kind == Kind::Attrib; ++j)
            entity(j, c);
    }

    void blockOf(const std::string& name, const QTransform& t, const EntityGroups& g,
                 const Pen& pen, const Context& c) {
        auto block = blocks_.find(name);
        if (block == blocks_.end() || c.depth >= kMaxNesting) return;
        Context inner;
        inner.t = t * c.t;
        inner.layer = layerFor(g, c);
        inner.byBlock = pen;
        inner.depth = c.depth + 1;
        for (size_t j : block->second.entities) entity(j, inner);
    }

    void extents() {
        double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
        for (const SceneItem& item : scene_.items) {
            if (item.kind == SceneItem::Kind::Infinite) continue;
            QRectF r = item.kind == SceneItem::Kind::Text ? item.place.mapRect(item.box)
                                                          : item.path.boundingRect();
            if (item.path.isEmpty() && item.kind != SceneItem::Kind::Text) continue;
            const double half = item.width / 2;
            x0 = std::min(x0, r.left() - half), x1 = std::max(x1, r.right() + half);
            y0 = std::min(y0, r.top() - half), y1 = std::max(y1, r.bottom() + half);
        }
        // A lone point or an axis-parallel line still has extents, if thin ones.
        if (x0 <= x1 && y0 <= y1) scene_.extents = QRectF(QPointF(x0, y0), QPointF(x1, y1));
    }

    Drawing& d_;
    Scene scene_;
    double ltscale_ = 1;
    bool fillSolids_ = true;
    std::unordered_map<std::string, Layer> layers_;
    std::unordered_map<std::string, std::vector<double>> linetypes_;
    std::unordered_map<std::string, TextStyle> styles_;
    std::unordered_map<std::string, Block> blocks_;
    Layer defaultLayer_;
    TextStyle defaultStyle_;
};

}  // namespace

Scene buildScene(cadbatch::AcadDocument& document) {
    return Builder(document.drawing()).build(document.activeSpace() == 0);
}

}  // namespace cadplot
