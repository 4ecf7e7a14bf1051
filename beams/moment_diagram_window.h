// The diagram window of a row or column window (弯矩图): the moment diagram and support
// forces of that window's last calculation, redrawn whenever it calculates again. It
// prints (打印) and saves the drawing as PNG or PDF (保存); a file it replaces is
// written under a temporary name and renamed. Esc closes it.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "beams/moment_diagram.h"

class QPainter;
class QRectF;

namespace beams {

class MomentDiagramWindow : public QWidget {
    Q_OBJECT
public:
    // A top-level window owned by `owner`, titled after it.
    explicit MomentDiagramWindow(QWidget* owner);

    // Shows `diagram`, its values in the number `pattern` ("###.0", "####0.0").
    void setDiagram(MomentDiagram diagram, std::string pattern);
    const MomentDiagram& diagram() const { return diagram_; }

    // Writes the drawing to `path`: PDF when it ends in ".pdf" (any case), else PNG.
    // Returns the reason when the file could not be written (then nothing changed).
    std::optional<QString> saveTo(const QString& path) const;

private:
    void paintInto(QPainter& painter, const QRectF& area) const;
    void print();
    void save();

    QWidget* view_;
    QString title_;
    MomentDiagram diagram_;
    std::string pattern_ = "###.0";
};

}  // namespace beams
