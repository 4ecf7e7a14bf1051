#include "materiallist/main_window_link.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "materiallist/material_list_panel.h"
#include "ui/file_dialogs.h"
#include "ui/message_box.h"

namespace materiallist {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string text(const QLineEdit* field) { return field->text().toStdString(); }

const QString kFilter = QStringLiteral("材料表 (*.csv);;所有文件 (*)");

}  // namespace

MainWindowLink* MainWindowLink::attach(QMainWindow* window, const MainWindowControls& controls) {
    return new MainWindowLink(window, controls);
}

MainWindowLink* MainWindowLink::of(const QMainWindow* window) {
    return window->findChild<MainWindowLink*>(QString(), Qt::FindDirectChildrenOnly);
}

MainWindowLink::MainWindowLink(QMainWindow* window, const MainWindowControls& controls)
    : QObject(window), window_(window), c_(controls), panel_(new MaterialListPanel) {
    setObjectName(QStringLiteral("MaterialListLink"));
    connect(c_.calculate, &QPushButton::clicked, this, &MainWindowLink::calculate);
    connect(c_.fill, &QAction::triggered, this, &MainWindowLink::fillFromClipboard);
    connect(c_.newList, &QAction::triggered, this, &MainWindowLink::newList);
    connect(c_.openList, &QAction::triggered, this, &MainWindowLink::openList);
    connect(c_.saveList, &QAction::triggered, this, &MainWindowLink::saveList);
    connect(c_.printList, &QAction::triggered, this, &MainWindowLink::printList);

    auto* dock = new QDockWidget(QStringLiteral("材料表"), window);
    dock->setObjectName(QStringLiteral("MaterialListDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(panel_);
    panel_->setMinimumWidth(540);
    window->addDockWidget(Qt::RightDockWidgetArea, dock);
}

WindowEntries MainWindowLink::entries() const {
    WindowEntries e;
    e.steelType = c_.steelType->currentIndex();
    for (int i = 0; i < kTypeListCount; ++i) {
        e.listSelection[static_cast<std::size_t>(i)] =
            c_.lists[static_cast<std::size_t>(i)]->currentIndex();
        if (!c_.lists[static_cast<std::size_t>(i)]->isHidden()) e.visibleList = i;
    }
    for (std::size_t r = 0; r < e.rows.size(); ++r)
        e.rows[r] = {!c_.rowFields[r]->isHidden(), c_.rowLabels[r]->text().toStdString(),
                     text(c_.rowFields[r])};
    e.quantity = text(c_.quantity);
    e.materialIndex = c_.material->currentIndex();
    e.boltHoleRows = !c_.holeDiameter->isHidden();
    e.holeDiameter = text(c_.holeDiameter);
    e.holeCount = text(c_.holeCount);
    e.unitText = text(c_.unitWeight);
    e.totalText = text(c_.totalWeight);
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
    c_.unitWeight->setText(qs(r.unitText));
    c_.totalWeight->setText(qs(r.totalText));
    e.state = state_;
    panel_->setPendingItem(itemOf(e));
}

void MainWindowLink::fillFromClipboard() { fillFrom(QGuiApplication::clipboard()->text()); }

void MainWindowLink::fillFrom(const QString& description) {
    applyFill(smartFill(description.toStdString()));
}

void MainWindowLink::applyFill(const FillResult& fill) {
    for (std::size_t r = 0; r < c_.rowFields.size(); ++r)
        c_.rowFields[r]->setText(qs(fill.texts[r]));
    c_.quantity->setText(qs(fill.quantity));
    if (fill.filled) {
        c_.steelType->setCurrentIndex(fill.steelType);  // the window relabels the rows for the type
        for (int i = 0; i < kTypeListCount; ++i)
            c_.lists[static_cast<std::size_t>(i)]->setVisible(i == fill.list);
        if (fill.listIndex && fill.list >= 0)
            c_.lists[static_cast<std::size_t>(fill.list)]->setCurrentIndex(*fill.listIndex);
        for (std::size_t r = 0; r < c_.rowFields.size(); ++r) {
            c_.rowLabels[r]->setVisible(fill.rows[r].visible);
            c_.rowFields[r]->setVisible(fill.rows[r].visible);
            if (!fill.rows[r].caption.empty()) c_.rowLabels[r]->setText(qs(fill.rows[r].caption));
        }
        for (QWidget* w : std::initializer_list<QWidget*>{c_.holeDiameterLabel, c_.holeDiameter,
                                                          c_.holeCountLabel, c_.holeCount})
            w->hide();
        c_.material->setCurrentIndex(fill.materialIndex);
    }
    if (fill.message)
        ui::showMessage(window_, qs(fill.message->title), qs(fill.message->text),
                        ui::Icon::Warning);
}

void MainWindowLink::newList() { panel_->newList(); }

void MainWindowLink::openList() {
    const QString path = ui::openFileName(window_, QStringLiteral("materialList"),
                                          QStringLiteral("打开材料表"), kFilter);
    if (!path.isEmpty()) panel_->openFile(path);
}

void MainWindowLink::saveList() {
    QString path =
        ui::saveFileName(window_, QStringLiteral("materialList"), QStringLiteral("保存材料表"),
                         QStringLiteral("材料表.csv"), kFilter);
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
