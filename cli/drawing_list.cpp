#include "cli/drawing_list.h"

#include <ostream>

#include "batch/collection.h"
#include "ui/printable_name.h"

namespace cli {

int applyCollection(const Options& opts, const std::string& command, std::vector<std::string>& list,
                    CommandIo& io) {
    for (const auto& [name, dir] : opts.ordered()) {
        if (name == "folder") {
            const drawing::Status added = batch::addFolderDrawings(dir, list);
            if (!added.ok()) {
                io.err << "tolvane-cli " << command << ": cannot read folder "
                       << ui::printableName(added.path) << "\n";
                return kFailure;
            }
        } else if (name == "tree") {
            batch::TreeSearch found = batch::FindFilesAPI(dir);
            if (found.rootUnreadable()) {
                io.err << "tolvane-cli " << command << ": cannot read folder "
                       << ui::printableName(found.unreadable.front()) << "\n";
                return kFailure;
            }
            for (const std::string& folder : found.unreadable)
                io.err << "tolvane-cli " << command << ": cannot read folder "
                       << ui::printableName(folder) << ", skipped\n";
            list = std::move(found.drawings);
        } else {
            continue;
        }
        if (list.empty()) io.out << messageLine(batch::noDrawingsMessage());
    }
    return kOk;
}

}  // namespace cli
