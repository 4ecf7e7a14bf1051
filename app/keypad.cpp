#include "app/keypad.h"

namespace app {

QStringList keypadCaptions() {
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
            QStringLiteral("5"), QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("TAB"),
            QStringLiteral("后退"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
            QStringLiteral("9"), QStringLiteral("0"), QStringLiteral("."), QStringLiteral("/"),
            QStringLiteral("'"), QStringLiteral("全消")};
}

QString keypadEdit(const QString& text, const QString& caption) {
    if (caption.size() == 1 && (caption[0].isDigit() || caption[0] == u'.')) return text + caption;
    if (caption == QStringLiteral("后退")) return text.left(qMax(0, text.size() - 1));
    if (caption == QStringLiteral("全消")) return QString();
    return text;
}

}  // namespace app
