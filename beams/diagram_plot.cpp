#include "beams/diagram_plot.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "beams/beam_report.h"
#include "ui/number_text.h"

namespace beams {
namespace {

QString valueText(double v, const std::string& pattern) {
    return QString::fromStdString(ui::patternText(v, pattern));
}

// Draws `text` centred on `at`, horizontally kept inside `bounds`.
void label(QPainter& p, const QString& text, QPointF at, const QRectF& bounds) {
    const QRectF r = p.fontMetrics().boundingRect(text);
    double x = std::clamp(at.x() - r.width() / 2, bounds.left(), bounds.right() - r.width());
    p.drawText(QRectF(x, at.y() - r.height() / 2, r.width(), r.height()), Qt::AlignCenter, text);
}

}  // namespace

DiagramPlot::DiagramPlot(const MomentDiagram& diagram, const QRectF& area)
    : d_(diagram), area_(area) {
    unit_ = std::max(8.0, area.height() / 34);
    left_ = area.left() + 4 * unit_;
    width_ = area.width() - 8 * unit_;
    beamY_ = area.top() + 6 * unit_;
    dimensionY_ = area.top() + 12 * unit_;
    // The curve's band: from 15 text heights down to 3.5 above the bottom.
    const double top = area.top() + 15 * unit_, bottom = area.bottom() - 3.5 * unit_;
    double lowest = 0, highest = 0;
    for (const DiagramPoint& p : d_.curve) {
        lowest = std::min(lowest, p.moment);
        highest = std::max(highest, p.moment);
    }
    const double range = highest - lowest;
    perMoment_ = range > 0 ? (bottom - top) / range : 0;
    baseY_ = range > 0 ? top - lowest * perMoment_ : (top + bottom) / 2;
}

double DiagramPlot::xAt(double x) const {
    return d_.length > 0 ? left_ + width_ * x / d_.length : left_;
}

QPointF DiagramPlot::beamPoint(double x) const { return {xAt(x), beamY_}; }

QPointF DiagramPlot::curvePoint(double x, double moment) const {
    return {xAt(x), baseY_ + moment * perMoment_};
}

PlotLabel DiagramPlot::loadLabel() const {
    return {QStringLiteral("q=%1 kg/cm").arg(QString::fromStdString(plainNumber(d_.q))),
            {area_.center().x(), beamY_ - 2.9 * unit_}};
}

std::vector<PlotLabel> DiagramPlot::dimensionLabels() const {
    std::vector<PlotLabel> labels;
    double from = 0;
    for (double part : d_.parts) {
        if (part > 0)
            labels.push_back({QString::fromStdString(plainNumber(part)),
                              {xAt(from + part / 2), dimensionY_ - 0.6 * unit_}});
        from += part;
    }
    return labels;
}

void DiagramPlot::paint(QPainter& p, const QString& title, const std::string& pattern) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area_, Qt::white);
    QFont f = p.font();
    f.setPixelSize(static_cast<int>(unit_));
    p.setFont(f);
    p.setPen(Qt::black);
    label(p, title, {area_.center().x(), area_.top() + 1.5 * unit_}, area_);
    paintLoad(p);
    paintBeam(p, pattern);
    paintDimensions(p);
    paintCurve(p, pattern);
    p.restore();
}

// A row of arrows standing on the beam under a line, the load's value above them.
void DiagramPlot::paintLoad(QPainter& p) const {
    const double top = beamY_ - 2.2 * unit_, bottom = beamY_ - unit_ / 4;
    p.setPen(QPen(Qt::darkGreen, unit_ / 10));
    p.setBrush(Qt::darkGreen);
    p.drawLine(beamPoint(0) + QPointF(0, top - beamY_),
               beamPoint(d_.length) + QPointF(0, top - beamY_));
    const int arrows = std::max(2, static_cast<int>(width_ / (1.5 * unit_)));
    for (int i = 0; i <= arrows; ++i) {
        const double x = left_ + width_ * i / arrows;
        p.drawLine(QPointF(x, top), QPointF(x, bottom));
        QPainterPath head;
        head.moveTo(x, bottom);
        head.lineTo(x - unit_ / 6, bottom - unit_ / 3);
        head.lineTo(x + unit_ / 6, bottom - unit_ / 3);
        head.closeSubpath();
        p.drawPath(head);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::black);
    const PlotLabel q = loadLabel();
    label(p, q.text, q.at, area_);
}

void DiagramPlot::paintBeam(QPainter& p, const std::string& pattern) const {
    p.setPen(QPen(Qt::black, unit_ / 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(beamPoint(0), beamPoint(d_.length));
    const double s = unit_ * 0.8;  // support triangle size
    for (std::size_t k = 0; k < d_.supports.size(); ++k) {
        const QPointF at = beamPoint(d_.supports[k]) + QPointF(0, unit_ / 6);
        QPainterPath triangle;
        triangle.moveTo(at);
        triangle.lineTo(at + QPointF(-s / 2, s));
        triangle.lineTo(at + QPointF(s / 2, s));
        triangle.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::lightGray);
        p.drawPath(triangle);

        // The force on the support pushes the beam up: an arrow from below.
        const QPointF tip = at + QPointF(0, s + unit_ / 4);
        const QPointF tail = tip + QPointF(0, 2.2 * unit_);
        p.setPen(QPen(Qt::darkBlue, unit_ / 8));
        p.setBrush(Qt::darkBlue);
        p.drawLine(tail, tip);
        QPainterPath head;
        head.moveTo(tip);
        head.lineTo(tip + QPointF(-unit_ / 4, unit_ / 2));
        head.lineTo(tip + QPointF(unit_ / 4, unit_ / 2));
        head.closeSubpath();
        p.drawPath(head);
        label(p, QStringLiteral("R%1=%2").arg(k + 1).arg(valueText(d_.R[k], pattern)),
              tail + QPointF(0, unit_), area_);
    }
    p.setBrush(Qt::NoBrush);
}

// The dimension line along the beam with a tick at each end and at every support, and
// each part's length above it.
void DiagramPlot::paintDimensions(QPainter& p) const {
    p.setPen(QPen(Qt::black, 1));
    const QPointF down(0, dimensionY_ - beamY_);
    p.drawLine(beamPoint(0) + down, beamPoint(d_.length) + down);
    std::vector<double> ticks{0, d_.length};
    ticks.insert(ticks.end(), d_.supports.begin(), d_.supports.end());
    for (double x : ticks) {
        const QPointF at = beamPoint(x) + down;
        p.drawLine(at + QPointF(0, -unit_ / 2), at + QPointF(0, unit_ / 2));
        p.drawLine(at + QPointF(-unit_ / 4, unit_ / 4), at + QPointF(unit_ / 4, -unit_ / 4));
    }
    for (const PlotLabel& l : dimensionLabels()) label(p, l.text, l.at, area_);
}

void DiagramPlot::paintCurve(QPainter& p, const std::string& pattern) const {
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    p.drawLine(curvePoint(0, 0), curvePoint(d_.length, 0));
    for (double x : d_.supports) p.drawLine(beamPoint(x), curvePoint(x, 0));

    QPainterPath curve(curvePoint(0, 0));
    for (const DiagramPoint& pt : d_.curve) curve.lineTo(curvePoint(pt.x, pt.moment));
    curve.lineTo(curvePoint(d_.length, 0));
    p.setPen(QPen(Qt::darkRed, unit_ / 6));
    p.setBrush(QColor(200, 40, 40, 40));
    p.drawPath(curve);
    p.setBrush(Qt::NoBrush);

    p.setPen(Qt::black);
    const auto valueLabel = [&](const DiagramPoint& pt) {
        // Above a hogging value, below a sagging one, clear of the curve.
        const double away = pt.moment < 0 ? -0.9 * unit_ : 0.9 * unit_;
        label(p, valueText(pt.moment, pattern), curvePoint(pt.x, pt.moment) + QPointF(0, away),
              area_);
    };
    for (std::size_t k = 0; k < d_.supports.size(); ++k) valueLabel({d_.supports[k], d_.M[k]});
    for (const DiagramPoint& e : d_.spanExtremes) valueLabel(e);
    label(p, QStringLiteral("尺寸(cm)  荷载(kg/cm)  弯矩(kg.cm)  支反力(kg)"),
          {area_.center().x(), area_.bottom() - unit_}, area_);
}

}  // namespace beams
