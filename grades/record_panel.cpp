#include "grades/record_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "db/bound_display.h"

namespace grades {

RecordPanel::RecordPanel(db::TableCursor& cursor, const QList<PanelField>& fields,
                         const QString& prefix, const QString& labelPrefix, int columns,
                         QWidget* parent)
    : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    for (int i = 0; i < fields.size(); ++i) {
        auto* label = new QLabel(fields[i].caption, this);
        label->setObjectName(QStringLiteral("%1(%2)").arg(labelPrefix).arg(i));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("%1(%2)").arg(prefix).arg(i));
        box->setReadOnly(true);
        box->setMinimumWidth(100);
        db::bindDisplay(cursor, fields[i].field, box);
        grid->addWidget(label, i / columns, 2 * (i % columns));
        grid->addWidget(box, i / columns, 2 * (i % columns) + 1);
        boxes_.append({fields[i].caption, box});
    }
    for (int c = 0; c < columns; ++c) grid->setColumnStretch(2 * c + 1, 1);
}

QList<QPair<QString, QString>> RecordPanel::captionsAndTexts() const {
    QList<QPair<QString, QString>> out;
    for (const auto& [caption, box] : boxes_) out.append({caption, box->text()});
    return out;
}

}  // namespace grades
