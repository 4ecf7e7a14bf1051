#include "dwg/dwg_format.h"

#include <filesystem>

#include "dwg/dxf_writer.h"

namespace dwg {
namespace {

class DwgFormat : public drawing::ForeignFormat {
public:
    std::string name() const override { return "DWG"; }
    // Every DWG magic, the versions before R13 included: they are refused with a
    // reason that names their version.
    bool takes(std::string_view head) const override {
        for (std::string_view magic : {"AC10", "AC1.", "AC2.", "MC0.0"})
            if (head.substr(0, magic.size()) == magic) return true;
        return false;
    }
    drawing::Status translate(std::string_view file, drawing::Translation& out) const override {
        return translateDwg(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()),
                            out);
    }
};

void addNotes(const std::map<std::string, int>& counts, const char* what,
              std::vector<std::string>& notes) {
    for (const auto& [kind, count] : counts)
        notes.push_back(std::string(what) + " " + (kind == "?" ? "（类型不明）" : kind) + "：" +
                        std::to_string(count) + " 个");
}

}  // namespace

void installDwgReader() { drawing::registerForeignFormat(std::make_shared<DwgFormat>()); }

std::vector<std::string> omissionNotes(const DwgDrawing& drawing) {
    std::vector<std::string> notes;
    addNotes(drawing.untranslatedEntities, "未转换的图元", notes);
    addNotes(drawing.untranslatedObjects, "未转换的对象", notes);
    addNotes(drawing.unreadable, "无法读取的对象", notes);
    addNotes(drawing.asProxies, "以代理图元转换的", notes);
    return notes;
}

drawing::Status translateDwg(std::span<const uint8_t> file, drawing::Translation& out) {
    DwgDrawing drawing;
    if (!out.path.empty()) {
        const std::filesystem::path folder = std::filesystem::path(out.path).parent_path();
        drawing.folder = folder.empty() ? "." : folder.string();
    }
    const std::string why = readDwg(file, drawing);
    if (!why.empty()) return drawing::Status::failure(why);
    out.dxf = writeDxf(drawing);
    out.notes = omissionNotes(drawing);
    return drawing::Status{};
}

}  // namespace dwg
