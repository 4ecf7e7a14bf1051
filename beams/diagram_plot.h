// Draws a moment diagram into a rectangle of any paint device (screen, printer, PNG,
// PDF), as an engineer sketches the beam: the uniform load q as arrows on the beam
// with its value, the beam to scale with its supports, the support forces as arrows
// under them, the overhangs and spans dimensioned along the beam in cm, and below, the
// bending-moment curve over the whole length, hogging (negative) moments above the
// base line; values are labelled at the supports and at each span's extreme, in the
// window's number pattern.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <string>
#include <vector>

#include "beams/moment_diagram.h"

class QPainter;

namespace beams {

// A text of the drawing and the point it is centred on.
struct PlotLabel {
    QString text;
    QPointF at;
};

class DiagramPlot {
public:
    DiagramPlot(const MomentDiagram& diagram, const QRectF& area);

    // "q=7.85 kg/cm", above the load arrows.
    PlotLabel loadLabel() const;
    // The length of each overhang and span ("100", "400"), between its ends on the
    // dimension line; an overhang of 0 has none.
    std::vector<PlotLabel> dimensionLabels() const;

    // Where the beam's axis lies at `x` cm from its left end.
    QPointF beamPoint(double x) const;
    // Where the curve lies for `moment` kg·cm at `x` cm.
    QPointF curvePoint(double x, double moment) const;

    void paint(QPainter& painter, const QString& title, const std::string& pattern) const;

private:
    double xAt(double x) const;
    void paintLoad(QPainter& painter) const;
    void paintBeam(QPainter& painter, const std::string& pattern) const;
    void paintDimensions(QPainter& painter) const;
    void paintCurve(QPainter& painter, const std::string& pattern) const;

    const MomentDiagram& d_;
    QRectF area_;
    double left_ = 0, width_ = 0;  // the beam's extent on the device
    double beamY_ = 0;             // the beam's axis
    double dimensionY_ = 0;        // the dimension line
    double baseY_ = 0;             // the moment curve's base line
    double perMoment_ = 0;         // device units per kg·cm
    double unit_ = 0;              // text height; other sizes scale with it
};

}  // namespace beams
