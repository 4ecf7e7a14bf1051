#include "materiallist/main_window_link.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "materiallist/material_list_panel.h"
#include "ui/find_control.h"
#include "ui/message_box.h"

namespace materiallist {
namespace {

template <typename T>
T* control(const QObject* window, const char* name) {
    return ui::findControl<T>(window, QString::fromUtf8(name));
}

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string text(const QLineEdit* field) { return field->text().toStdString(); }

const QString kFilter = QStringLiteral("材料表 (*.csv);;所有文件 (*)");

}  // namespace

MainWindowLink* MainWindowLink::attach(QMainWindow* window) {
    if (auto* existing = window->findChild<MainWindowLink*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new MainWindowLink(window);
}

MainWindowLink::MainWindowLink(QMainWindow* window)
    : QObject(window),
      window_(window),
      steelType_(control<QComboBox>(window, "Combo1")),
      lists_{control<QComboBox>(window, "钢板"),   control<QComboBox>(window, "Combo2"),
             control<QComboBox>(window, "Combo3"), control<QComboBox>(window, "Combo4"),
             control<QComboBox>(window, "Combo5"), control<QComboBox>(window, "Combo6"),
             control<QComboBox>(window, "Combo7")},
      rowLabels_{control<QLabel>(window, "Label2"), control<QLabel>(window, "Label3"),
                 control<QLabel>(window, "Label4")},
      rowFields_{control<QLineEdit>(window, "Text1"), control<QLineEdit>(window, "Text2"),
                 control<QLineEdit>(window, "Text3")},
      quantity_(control<QLineEdit>(window, "Text4")),
      material_(control<QComboBox>(window, "Combo8")),
      boltHoleRows_{control<QWidget>(window, "Label5"), control<QWidget>(window, "Text5"),
                    control<QWidget>(window, "Label7"), control<QWidget>(window, "Text8")},
      holeDiameter_(control<QLineEdit>(window, "Text5")),
      holeCount_(control<QLineEdit>(window, "Text8")),
      unit_(control<QLineEdit>(window, "Text7")),
      total_(control<QLineEdit>(window, "Text9")),
      panel_(new MaterialListPanel) {
    setObjectName(QStringLiteral("MaterialListLink"));
    connect(control<QPushButton>(window, "Command1"), &QPushButton::clicked, this,
            &MainWindowLink::calculate);
    connect(control<QAction>(window, "fill"), &QAction::triggered, this,
            &MainWindowLink::fillFromClipboard);
    connect(control<QAction>(window, "muufilenew"), &QAction::triggered, this,
            &MainWindowLink::newList);
    connect(control<QAction>(window, "mnufileopen"), &QAction::triggered, this,
            &MainWindowLink::openList);
    connect(control<QAction>(window, "mnufilesave"), &QAction::triggered, this,
            &MainWindowLink::saveList);
    connect(control<QAction>(window, "mnufileprint"), &QAction::triggered, this,
            &MainWindowLink::printList);

    auto* dock = new QDockWidget(QStringLiteral("材料表"), window);
    dock->setObjectName(QStringLiteral("MaterialListDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(panel_);
    panel_->setMinimumWidth(540);
    window->addDockWidget(Qt::RightDockWidgetArea, dock);
}

WindowEntries MainWindowLink::entries() const {
    WindowEntries e;
    e.steelType = steelType_->currentIndex();
    for (int i = 0; i < kTypeListCount; ++i) {
        e.listSelection[static_cast<std::size_t>(i)] =
            lists_[static_cast<std::size_t>(i)]->currentIndex();
        if (!lists_[static_cast<std::size_t>(i)]->isHidden()) e.visibleList = i;
    }
    for (std::size_t r = 0; r < e.rows.size(); ++r)
        e.rows[r] = {!rowFields_[r]->isHidden(), rowLabels_[r]->text().toStdString(),
                     text(rowFields_[r])};
    e.quantity = text(quantity_);
    e.materialIndex = material_->currentIndex();
    e.boltHoleRows = !holeDiameter_->isHidden();
    e.holeDiameter = text(holeDiameter_);
    e.holeCount = text(holeCount_);
    e.unitText = text(unit_);
    e.totalText = text(total_);
    e.state = state_;
    return e;
}

void MainWindowLink::calculate() {
    WindowEntries e = entries();
    const WeightResult r = calculateWeight(weightInputs(e), state_);
    if (r.message)
        ui::showMessage(window_, qs(r.message->title), qs(r.message->text), ui::Icon::Information);
    if (!r.written) return;
    state_ = r.state;
    unit_->setText(qs(r.unitText));
    total_->setText(qs(r.totalText));
    e.state = state_;
    panel_->setPendingItem(itemOf(e));
}

void MainWindowLink::fillFromClipboard() { fillFrom(QGuiApplication::clipboard()->text()); }

void MainWindowLink::fillFrom(const QString& description) {
    applyFill(smartFill(description.toStdString()));
}

void MainWindowLink::applyFill(const FillResult& fill) {
    for (std::size_t r = 0; r < rowFields_.size(); ++r) rowFields_[r]->setText(qs(fill.texts[r]));
    quantity_->setText(qs(fill.quantity));
    if (fill.filled) {
        steelType_->setCurrentIndex(fill.steelType);  // the window relabels the rows for the type
        for (int i = 0; i < kTypeListCount; ++i)
            lists_[static_cast<std::size_t>(i)]->setVisible(i == fill.list);
        if (fill.listIndex && fill.list >= 0)
            lists_[static_cast<std::size_t>(fill.list)]->setCurrentIndex(*fill.listIndex);
        for (std::size_t r = 0; r < rowFields_.size(); ++r) {
            rowLabels_[r]->setVisible(fill.rows[r].visible);
            rowFields_[r]->setVisible(fill.rows[r].visible);
            if (!fill.rows[r].caption.empty()) rowLabels_[r]->setText(qs(fill.rows[r].caption));
        }
        for (QWidget* w : boltHoleRows_) w->hide();
        material_->setCurrentIndex(fill.materialIndex);
    }
    if (fill.message)
        ui::showMessage(window_, qs(fill.message->title), qs(fill.message->text),
                        ui::Icon::Warning);
}

void MainWindowLink::newList() { panel_->newList(); }

void MainWindowLink::openList() {
    const QString path =
        QFileDialog::getOpenFileName(window_, QStringLiteral("打开材料表"), QString(), kFilter);
    if (!path.isEmpty()) panel_->openFile(path);
}

void MainWindowLink::saveList() {
    QString path =
        QFileDialog::getSaveFileName(window_, QStringLiteral("保存材料表"), QString(), kFilter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    panel_->saveFile(path);
}

void MainWindowLink::printList() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, window_);
    if (dialog.exec() == QDialog::Accepted) panel_->print(printer);
}

}  // namespace materiallist
