#include "app/start_up.h"

#include "db/data_folder.h"
#include "ui/message_box.h"

namespace app {

bool dataFolderReady() {
    const ui::OptionalMessage unusable = db::seedDataFolder();
    if (!unusable) return true;
    ui::showMessage(nullptr, QString::fromStdString(unusable->title),
                    QString::fromStdString(unusable->text), ui::Icon::Critical);
    return false;
}

}  // namespace app
