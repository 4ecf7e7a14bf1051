#include "dwg/shapes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "dwg/decoders.h"

namespace dwg {

// The placeholder of a shape's name until its file is read: group 2 holding the
// shape's number, with the text style as its reference.
void decodeShape(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const Point3 insertion = d.BD3();
    const double size = d.BD();
    const double rotation = d.BD();
    const double width = d.BD();
    const double oblique = d.BD();
    const double thickness = d.BD();
    const int number = static_cast<uint16_t>(d.BS());
    const Point3 extrusion = d.BD3();
    const uint64_t style = f.ref();
    r.marker("AcDbShape");
    r.thickness(thickness);
    r.point(10, insertion);
    r.real(40, size);
    r.groups.push_back(Group{2, false, std::to_string(number), style});
    if (rotation != 0.0) r.real(50, degrees(rotation));
    if (width != 1.0) r.real(41, width);
    if (oblique != 0.0) r.real(51, degrees(oblique));
    r.extrusion(extrusion);
}

namespace {

constexpr std::string_view kShapesMagic = "AutoCAD-86 shapes ";
constexpr uintmax_t kLargestShapeFile = 16u << 20;

unsigned word(std::string_view s, size_t at) {
    return static_cast<uint8_t>(s[at]) | static_cast<unsigned>(static_cast<uint8_t>(s[at + 1])) << 8;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The bytes of the shape file a text style names (a path of another machine, often),
// found by its name in `folder`; none when it is not there.
std::optional<std::string> shapeFile(const std::string& folder, std::string_view font) {
    if (folder.empty()) return std::nullopt;
    std::string name(font.substr(font.find_last_of("/\\") + 1));
    if (name.find('.') == std::string::npos) name += ".shx";
    name = lower(name);
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (lower(it->path().filename().string()) != name) continue;
        if (!it->is_regular_file(error) || it->file_size(error) > kLargestShapeFile) break;
        std::ifstream in(it->path(), std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        if (!in.bad()) return bytes;
        break;
    }
    return std::nullopt;
}

// The text style's shape file: group 3 of the STYLE record.
std::string_view fontOf(const DwgDrawing& d, uint64_t style) {
    const Record* r = d.find(style);
    if (!r || r->type != "STYLE") return {};
    for (const Group& g : r->groups)
        if (g.code == 3) return g.value;
    return {};
}

}  // namespace

std::optional<std::string> shapeName(std::string_view shx, int number) {
    if (shx.substr(0, kShapesMagic.size()) != kShapesMagic) return std::nullopt;
    const size_t end = shx.find('\x1a');
    if (end == std::string_view::npos || end + 7 > shx.size()) return std::nullopt;
    size_t at = end + 1 + 4;  // the first and the last number
    const size_t count = word(shx, at);
    at += 2;
    if (count * 4 > shx.size() - at) return std::nullopt;
    size_t definition = at + count * 4;
    for (size_t i = 0; i < count; ++i, at += 4) {
        const size_t size = word(shx, at + 2);
        if (size > shx.size() - definition) return std::nullopt;
        if (static_cast<int>(word(shx, at)) == number) {
            const std::string_view body = shx.substr(definition, size);
            const size_t nul = body.find('\0');
            if (nul == std::string_view::npos) return std::nullopt;
            return std::string(body.substr(0, nul));
        }
        definition += size;
    }
    return std::nullopt;
}

void nameShapes(DwgDrawing& d) {
    std::map<std::string, std::optional<std::string>, std::less<>> files;
    std::vector<bool> gone(d.records.size(), false);
    bool anyGone = false;
    for (size_t i = 0; i < d.records.size(); ++i) {
        Record& r = d.records[i];
        if (r.type != "SHAPE") continue;
        const auto placeholder = std::find_if(r.groups.begin(), r.groups.end(),
                                              [](const Group& g) { return g.code == 2; });
        if (placeholder == r.groups.end()) continue;
        const std::string_view font = fontOf(d, placeholder->ref);
        auto file = files.find(font);
        if (file == files.end()) file = files.emplace(std::string(font), shapeFile(d.folder, font)).first;
        const std::optional<std::string> name =
            file->second ? shapeName(*file->second, std::atoi(placeholder->value.c_str()))
                         : std::nullopt;
        if (name) {
            placeholder->value = *name;
            placeholder->ref = 0;
            continue;
        }
        gone[i] = anyGone = true;
        ++d.untranslatedEntities["SHAPE"];
        if (r.next) d.links[r.handle] = r.next;
    }
    if (anyGone) dropRecords(d, gone);
}

}  // namespace dwg
