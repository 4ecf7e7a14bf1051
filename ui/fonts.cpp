#include "ui/fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace ui {

void applyChineseFont(QApplication& app) {
    const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    QString chosen;
    for (const QString& wanted : {QStringLiteral("宋体"), QStringLiteral("SimSun"),
                                  QStringLiteral("Noto Sans CJK SC"),
                                  QStringLiteral("WenQuanYi Micro Hei")}) {
        if (families.contains(wanted)) {
            chosen = wanted;
            break;
        }
    }
    if (chosen.isEmpty() && !families.isEmpty()) chosen = families.first();
    QFont font = app.font();
    if (!chosen.isEmpty()) font.setFamilies({chosen});
    font.setPointSize(9);
    app.setFont(font);
}

}  // namespace ui
