#include "materiallist/material_list_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/message_box.h"
#include "ui/number_text.h"

namespace materiallist {
namespace {

const QString kTitle = QStringLiteral("材料表");

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Weights as the result fields show them, without the leading blank.
QString weightText(double kg) { return qs(ui::shortestText(kg)).trimmed(); }

QStringList headers() {
    return {QStringLiteral("类型"), QStringLiteral("规格/尺寸"), QStringLiteral("材料"),
            QStringLiteral("数量"), QStringLiteral("单重(kg)"),  QStringLiteral("总重(kg)")};
}

QStringList cells(const MaterialItem& item) {
    return {qs(item.type),
            qs(item.designation),
            qs(item.material),
            QString::number(item.quantity),
            weightText(item.unitWeight),
            weightText(item.totalWeight)};
}

}  // namespace

MaterialListPanel::MaterialListPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MaterialListPanel"));
    table_ = new QTableWidget(0, static_cast<int>(headers().size()), this);
    table_->setObjectName(QStringLiteral("MaterialTable"));
    table_->setHorizontalHeaderLabels(headers());
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("MaterialTotal"));
    add_ = new QPushButton(QStringLiteral("加入材料表"), this);
    add_->setObjectName(QStringLiteral("AddItem"));
    add_->setEnabled(false);
    auto* remove = new QPushButton(QStringLiteral("删除所选"), this);
    remove->setObjectName(QStringLiteral("RemoveItems"));
    connect(add_, &QPushButton::clicked, this, &MaterialListPanel::addPendingItem);
    connect(remove, &QPushButton::clicked, this, &MaterialListPanel::removeSelectedItems);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(total_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    refresh();
}

void MaterialListPanel::setPendingItem(std::optional<MaterialItem> item) {
    pending_ = std::move(item);
    add_->setEnabled(pending_.has_value());
}

void MaterialListPanel::addPendingItem() {
    if (!pending_) return;
    list_.items.push_back(*pending_);
    modified_ = true;
    refresh();
}

void MaterialListPanel::removeSelectedItems() {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty()) return;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) list_.items.erase(list_.items.begin() + row);
    modified_ = true;
    refresh();
}

bool MaterialListPanel::dropChangesAllowed() {
    if (!modified_ || list_.items.empty()) return true;
    return ui::showMessage(this, kTitle, QStringLiteral("当前材料表尚未保存，确定要放弃修改吗？"),
                           ui::Icon::Question, ui::Buttons::YesNo) == ui::Answer::Yes;
}

bool MaterialListPanel::newList() {
    if (!dropChangesAllowed()) return false;
    list_ = MaterialList{};
    modified_ = false;
    refresh();
    return true;
}

bool MaterialListPanel::openFile(const QString& path) {
    if (!dropChangesAllowed()) return false;
    CsvResult loaded = loadCsv(std::filesystem::path(path.toStdString()));
    if (!loaded.error.empty()) {
        showError(qs(loaded.error));
        return false;
    }
    list_ = std::move(loaded.list);
    modified_ = false;
    refresh();
    return true;
}

bool MaterialListPanel::saveFile(const QString& path) {
    const std::string error = saveCsv(list_, std::filesystem::path(path.toStdString()));
    if (!error.empty()) {
        showError(qs(error));
        return false;
    }
    modified_ = false;
    return true;
}

void MaterialListPanel::print(QPrinter& printer) const {
    printer.setPageSize(QPageSize(QPageSize::A4));
    QString html = QStringLiteral(
        "<h2 align=\"center\">材料表</h2>"
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\"><tr>");
    for (const QString& h : headers()) html += QStringLiteral("<th>%1</th>").arg(h.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const MaterialItem& item : list_.items) {
        html += QStringLiteral("<tr>");
        const QStringList row = cells(item);
        for (int c = 0; c < row.size(); ++c)
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(c >= 3 ? QStringLiteral(" align=\"right\"") : QString(),
                             row[c].toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral(
                "<tr><th colspan=\"5\" align=\"right\">合计</th><th "
                "align=\"right\">%1</th></tr></table>")
                .arg(weightText(list_.totalWeight()));
    QTextDocument document;
    document.setDefaultFont(font());
    document.setHtml(html);
    document.print(&printer);
}

void MaterialListPanel::refresh() {
    table_->setRowCount(static_cast<int>(list_.items.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const QStringList row = cells(list_.items[static_cast<std::size_t>(r)]);
        for (int c = 0; c < row.size(); ++c) {
            auto* cell = new QTableWidgetItem(row[c]);
            if (c >= 3) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, cell);
        }
    }
    total_->setText(QStringLiteral("合计：%1 kg").arg(weightText(list_.totalWeight())));
}

void MaterialListPanel::showError(const QString& text) {
    ui::showMessage(this, kTitle, text, ui::Icon::Warning, ui::Buttons::Ok);
}

}  // namespace materiallist
