#include "dwg/test_files.h"

#include <fstream>
#include <iterator>

#include "dwg/dwg_format.h"

namespace dwg {

std::vector<uint8_t> fileBytes(const std::filesystem::path& path) {
    const std::filesystem::path full =
        path.has_parent_path() ? path : std::filesystem::path(DWG_TESTDATA) / path;
    std::ifstream in(full, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

::testing::AssertionResult openDwg(const std::filesystem::path& path, OpenedDwg& out) {
    std::string why = readContainer(fileBytes(path), out.container);
    if (why.empty())
        why = readClasses(out.container.classes, out.container.version,
                          out.container.maintenance, out.classes);
    if (why.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << ": " << why;
}

ObjectType openObject(const OpenedDwg& d, const std::vector<uint8_t>& objects, uint64_t offset,
                      ObjectFrame& frame, Record& record) {
    EXPECT_TRUE(frame.open(objects, offset, d.container.version)) << offset;
    const ObjectType type = objectType(frame.type(), d.classes);
    record.type = type.dxfName;
    if (type.entity) {
        frame.readEntityCommon(record);
    } else {
        frame.readObjectCommon(record);
    }
    return type;
}

::testing::AssertionResult readDrawing(const std::filesystem::path& path, ReadDrawing& out) {
    installDwgReader();
    const drawing::Status status = drawing::readDrawingFile(path.string(), out.drawing, &out.source);
    if (status.ok()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << ": " << status.reason;
}

}  // namespace dwg
