#include "app/program_icon.h"

#include <QDir>

namespace app {

QIcon programIcon() {
    QIcon icon;
    const QDir sizes(QStringLiteral(":/icons/hicolor"));
    for (const QString& size : sizes.entryList(QDir::Dirs))
        icon.addFile(sizes.filePath(size + QStringLiteral("/apps/tolvane.png")));
    return icon;
}

}  // namespace app
