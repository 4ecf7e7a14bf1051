// The pieces the plot scene is built from: an entity's groups as values, and the
// drawing functions for each kind of entity. Internal to the plot library.
#pragma once

#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QTransform>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "drawing/drawing.h"
#include "plot/glyphs.h"
#include "plot/scene.h"

namespace plot {

// The groups of one record, with their values as numbers, points and texts. The values
// are views into the drawing's bytes (ASCII) or into texts made from them (binary), so
// the drawing must stay unedited while the groups are in use.
class EntityGroups {
public:
    using Value = std::pair<int, std::string_view>;

    EntityGroups(const drawing::Drawing& drawing, size_t record);
    EntityGroups(EntityGroups&&) = default;  // the texts' buffer moves with its views
    EntityGroups& operator=(EntityGroups&&) = default;
    EntityGroups(const EntityGroups&) = delete;
    EntityGroups& operator=(const EntityGroups&) = delete;

    const std::vector<Value>& list() const { return groups_; }
    // The groups from 101 ("Embedded Object") on: a copy of the entity's data for the
    // drawing program's own use, where an R2018 MTEXT keeps its columns.
    const std::vector<Value>& embedded() const { return embedded_; }
    std::string_view type() const { return *type_; }  // in upper case, as the engine reads it
    bool has(int code) const;
    std::string_view raw(int code) const;  // empty when missing
    double number(int code, double fallback = 0) const;
    // Rounded, within ±INT_MAX.
    int integer(int code, int fallback = 0) const;
    QPointF point(int code) const;  // groups code and code + 10
    QString text(int code) const;   // decoded, with %%c, %%d and %%p as their signs
    // Object coordinates to world (x, y) from the extrusion direction 210/220/230.
    QTransform ocs() const;

    const drawing::TextCodec& codec() const { return *codec_; }

private:
    std::vector<Value> groups_, embedded_;
    std::vector<char> texts_;  // binary drawings: the values as texts, side by side
    const std::string* type_;
    const drawing::TextCodec* codec_;
};

double toNumber(std::string_view text, double fallback = 0);
QString decodeText(const drawing::TextCodec& codec, std::string_view raw);

// A text style: the font and its proportions.
struct TextStyle {
    int font = 0;  // of Glyphs
    FontMetrics metrics;
    double widthFactor = 1;
    double oblique = 0;  // degrees
};

// Where one entity's drawing goes: items with the entity's pen, in drawing units.
class Out {
public:
    Out(Scene& scene, const Pen& pen) : scene_(scene), pen_(pen) {}
    // `t` maps the outline to drawing units.
    void stroke(const QPainterPath& path, const QTransform& t, double width = 0);
    void stroke(const QPainterPath& path, double width = 0) { stroke(path, QTransform(), width); }
    void line(QPointF from, QPointF to);
    void circle(QPointF center, QPointF onCircle);
    void fill(const QPainterPath& path, const QTransform& t = QTransform());
    void text(const std::vector<uint32_t>& glyphs, const QTransform& place, const QRectF& box);
    void infinite(QPointF base, QPointF direction, bool ray);
    void clipBegin(const QPainterPath& outline);
    void clipEnd();

    // For parts drawn with pens of their own: Out(out.scene(), pen).
    Scene& scene() const { return scene_; }
    const Pen& pen() const { return pen_; }

private:
    void add(SceneItem::Kind kind, const QPainterPath& path, const QTransform& t, double width);

    Scene& scene_;
    const Pen& pen_;
};

// `v` scaled to length 1; the x axis where `v` has next to no length.
QPointF unitDirection(QPointF v);
// The counter-clockwise sweep from angle `start` to angle `end`, both in any number of
// turns of `turn` (360 or 2π): in (0, turn], a whole turn where they meet or nearly.
double ccwSweep(double start, double end, double turn);
// Arc of `sweep` degrees (negative: clockwise) from angle `start`, in y-up coordinates;
// at most one turn is drawn.
void addArc(QPainterPath& path, QPointF center, double radius, double start, double sweep,
            bool moveFirst);
// A straight or bulged segment to `to` from the path's current point.
void addBulge(QPainterPath& path, QPointF from, QPointF to, double bulge);

// The drawing of one entity of a geometric kind: LINE, XLINE, RAY, CIRCLE, ARC,
// ELLIPSE, LWPOLYLINE, SPLINE, POINT, SOLID, TRACE, 3DFACE, HATCH, LEADER (SOLID and
// TRACE filled when `fillSolids`, as $FILLMODE 1 asks). `t` maps
// world coordinates of the entity's space to drawing units. Returns false for kinds it
// does not know.
bool drawShape(const EntityGroups& g, const QTransform& t, Out& out, bool fillSolids);
// POLYLINE with its VERTEX records.
void drawPolyline(const EntityGroups& g, const std::vector<EntityGroups>& vertices,
                  const QTransform& t, Out& out);
// TEXT, ATTRIB, ATTDEF (its tag) and MTEXT; `wrap` false for the MTEXT of a dimension.
void drawText(const EntityGroups& g, const TextStyle& style, const QTransform& t, Out& out,
              bool wrap = true);
// An attribute given its definition (ATTDEF) and its value.
void drawAttribute(const EntityGroups& attdef, const QString& value, const TextStyle& style,
                   const QTransform& t, Out& out);

// The points of a spline from its control points (NURBS) or, lacking them, through its
// fit points.
std::vector<QPointF> splinePoints(int degree, const std::vector<double>& knots,
                                  const std::vector<QPointF>& control,
                                  const std::vector<double>& weights,
                                  const std::vector<QPointF>& fit);

}  // namespace plot
