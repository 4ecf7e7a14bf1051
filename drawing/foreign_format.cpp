#include "drawing/foreign_format.h"

#include <mutex>

namespace drawing {
namespace {

struct Registry {
    std::mutex mutex;
    std::vector<std::shared_ptr<const ForeignFormat>> formats;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void registerForeignFormat(std::shared_ptr<const ForeignFormat> format) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.formats, [&](const auto& f) { return f->name() == format->name(); });
    r.formats.push_back(std::move(format));
}

const ForeignFormat* foreignFormatOf(std::string_view head) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& f : r.formats)
        if (f->takes(head)) return f.get();
    return nullptr;
}

}  // namespace drawing
