#include "beams/moment_diagram_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>
#include <functional>

#include "beams/diagram_plot.h"
#include "ui/file_dialogs.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace beams {
namespace {

// The drawing area on screen paints through its window.
class DiagramView : public QWidget {
public:
    explicit DiagramView(std::function<void(QPainter&, const QRectF&)> paint)
        : paint_(std::move(paint)) {
        setMinimumSize(640, 420);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint_(p, QRectF(rect()));
    }

private:
    std::function<void(QPainter&, const QRectF&)> paint_;
};

constexpr QSize kImageSize(1600, 1000);

}  // namespace

MomentDiagramWindow::MomentDiagramWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), title_(owner->windowTitle() + QStringLiteral(" 弯矩图")) {
    setObjectName(QStringLiteral("MomentDiagram"));
    setWindowTitle(title_);
    view_ = new DiagramView([this](QPainter& p, const QRectF& r) { paintInto(p, r); });
    view_->setObjectName(QStringLiteral("DiagramView"));

    auto* print = new QPushButton(QStringLiteral("打印"));
    print->setObjectName(QStringLiteral("Print"));
    connect(print, &QPushButton::clicked, this, &MomentDiagramWindow::print);
    auto* save = new QPushButton(QStringLiteral("保存"));
    save->setObjectName(QStringLiteral("Save"));
    connect(save, &QPushButton::clicked, this, &MomentDiagramWindow::save);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(save);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(view_, 1);
    outer->addLayout(buttons);
    ui::closeOnEscape(this);
}

void MomentDiagramWindow::setDiagram(MomentDiagram diagram, std::string pattern) {
    diagram_ = std::move(diagram);
    pattern_ = std::move(pattern);
    view_->update();
}

void MomentDiagramWindow::paintInto(QPainter& painter, const QRectF& area) const {
    DiagramPlot(diagram_, area).paint(painter, title_, pattern_);
}

std::optional<QString> MomentDiagramWindow::saveTo(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
    if (QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0) {
        QPdfWriter pdf(&file);
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(title_);
        QPainter painter(&pdf);
        paintInto(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
    } else {
        QImage image(kImageSize, QImage::Format_RGB32);
        QPainter painter(&image);
        paintInto(painter, QRectF(image.rect()));
        painter.end();
        if (!image.save(&file, "PNG")) {
            file.cancelWriting();
            return QStringLiteral("无法写入文件 %1").arg(path);
        }
    }
    if (!file.commit()) return QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
    return std::nullopt;
}

void MomentDiagramWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter(&printer);
    paintInto(painter, printer.pageRect(QPrinter::DevicePixel)
                           .translated(-printer.pageRect(QPrinter::DevicePixel).topLeft()));
}

void MomentDiagramWindow::save() {
    QString path = ui::saveFileName(this, QStringLiteral("momentDiagram"),
                                    QStringLiteral("保存弯矩图"), QStringLiteral("弯矩图.png"),
                                    QStringLiteral("PNG 图片 (*.png);;PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
    if (const auto failure = saveTo(path)) ui::showMessage(this, QStringLiteral("提示"), *failure);
}

}  // namespace beams
