// A panel of displays bound to a cursor: one read-only box per field, each beside its
// caption, `columns` caption/box pairs to a line. The boxes are named "<prefix>(i)"
// and their captions "<labelPrefix>(i)", i in field order; every box follows the
// cursor's current row.
#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

class QLineEdit;

namespace db {
class TableCursor;
}

namespace grades {

struct PanelField {
    QString caption;
    QString field;
};

class RecordPanel : public QWidget {
    Q_OBJECT
public:
    RecordPanel(db::TableCursor& cursor, const QList<PanelField>& fields, const QString& prefix,
                const QString& labelPrefix, int columns, QWidget* parent = nullptr);

    // (caption, shown text) of every box, in field order, for printing and saving.
    QList<QPair<QString, QString>> captionsAndTexts() const;

private:
    QList<QPair<QString, QLineEdit*>> boxes_;
};

}  // namespace grades
