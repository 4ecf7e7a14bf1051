#include "drawing/document.h"

#include <filesystem>

#include "drawing/empty_drawing.h"

namespace drawing {

std::string fullPathOf(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return (ec ? std::filesystem::path(path) : full).lexically_normal().string();
}

Status AcadDocument::open(const std::string& fullPath, std::unique_ptr<AcadDocument>& document) {
    auto doc = std::make_unique<AcadDocument>();
    doc->fullName_ = fullPathOf(fullPath);
    Status status = readDrawingFile(fullPath, doc->drawing_, &doc->source_);
    if (!status.ok()) return status;
    document = std::move(doc);
    return Status{};
}

std::unique_ptr<AcadDocument> AcadDocument::createNew(const std::string& fullPath) {
    auto doc = std::make_unique<AcadDocument>();
    doc->fullName_ = fullPathOf(fullPath);
    Drawing::parse(newDrawingBytes(), doc->drawing_);
    return doc;
}

std::string AcadDocument::name() const {
    return std::filesystem::path(fullName_).filename().string();
}

std::string AcadDocument::path() const {
    std::string folder = std::filesystem::path(fullName_).parent_path().string();
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string AcadDocument::saveTarget() const {
    if (!isForeign()) return fullName_;
    return std::filesystem::path(fullName_).replace_extension(".dxf").string();
}

std::string AcadDocument::copyExtension() const {
    if (isForeign()) return ".dxf";
    const std::string extension = std::filesystem::path(fullName_).extension().string();
    return extension.empty() ? ".dwg" : extension;
}

int AcadDocument::activeSpace() const {
    std::string text;
    if (!drawing_.header("$TILEMODE", text)) return 1;
    return std::atoi(text.c_str()) == 0 ? 0 : 1;
}

std::vector<AcadEntity> AcadDocument::entitiesOf(bool paper) {
    std::vector<AcadEntity> out;
    for (size_t i = 0; i < drawing_.size(); ++i) {
        const Record& r = drawing_.record(i);
        if (r.section != Section::Entities || r.deleted || r.paperSpace != paper) continue;
        if (r.kind == Kind::Attrib || r.kind == Kind::Vertex || r.kind == Kind::Seqend ||
            r.kind == Kind::Section || r.kind == Kind::EndSec)
            continue;
        out.emplace_back(drawing_, i);
    }
    return out;
}

std::vector<AcadEntity> AcadDocument::modelSpace() { return entitiesOf(false); }
std::vector<AcadEntity> AcadDocument::paperSpace() { return entitiesOf(true); }
std::vector<AcadEntity> AcadDocument::activeSpaceEntities() {
    return entitiesOf(activeSpace() == 0);
}

AcadLayout AcadDocument::activeLayout() {
    auto layout = [this](std::string name, int32_t record) {
        PlotSettings& settings = plotSettings_[name];
        return AcadLayout(std::move(name), record, settings);
    };
    const bool model = activeSpace() == 1;
    if (drawing_.isR12()) return layout(model ? "Model" : "Layout1", -1);
    // Model space's layout is named Model; paper space shows the layout of the
    // *Paper_Space block, which its block record names by handle (group 340).
    int32_t paperLayout = -1;
    for (size_t i = 0; i < drawing_.size(); ++i) {
        const Record& r = drawing_.record(i);
        if (r.deleted || r.kind != Kind::BlockRecord) continue;
        std::string name, layout;
        if (drawing_.value(i, 2, name) && foldName(name) == "*PAPER_SPACE" &&
            drawing_.value(i, 340, layout))
            paperLayout = drawing_.find(parseHandle(layout));
    }
    for (size_t i = 0; i < drawing_.size(); ++i) {
        const Record& r = drawing_.record(i);
        if (r.deleted || r.kind != Kind::Layout) continue;
        std::string name;
        drawing_.value(i, 1, name);
        const bool isModel = foldName(name) == "MODEL";
        if ((model && isModel) ||
            (!model && (static_cast<int32_t>(i) == paperLayout || (paperLayout < 0 && !isModel))))
            return layout(drawing_.codec().toUtf8(name), static_cast<int32_t>(i));
    }
    return layout(model ? "Model" : "Layout1", -1);
}

PurgeReport AcadDocument::purgeAll() {
    if (purgedAt_ == drawing_.changes()) return {};
    PurgeReport report = drawing::purgeAll(drawing_);
    if (report.removed.empty()) purgedAt_ = drawing_.changes();
    return report;
}

AuditReport AcadDocument::auditInfo(bool fix) {
    if (auditedAt_ == drawing_.changes()) return {};
    AuditReport report = auditDrawing(drawing_, fix);
    if (report.findings.empty()) auditedAt_ = drawing_.changes();
    return report;
}

Status AcadDocument::saveAs(const std::string& fullPath, WriteMode mode) {
    const std::string target = fullPathOf(fullPath);
    // The foreign file itself is never written over.
    if (isForeign() && target == fullName_) return Status::failure(reason::kTargetExists, target);
    Status status = writeDrawingFile(drawing_, target, mode);
    if (status.ok()) {
        fullName_ = target;
        source_.format.clear();  // the document is now that DXF file
    }
    return status;
}

Status AcadDocument::close(bool save) {
    if (closed_) return Status{};
    if (save) {
        Status status =
            saveAs(saveTarget(), isForeign() ? WriteMode::NewOnly : WriteMode::Replace);
        if (!status.ok()) return status;
    }
    closed_ = true;
    drawing_ = Drawing();
    return Status{};
}

Status AcadDocuments::open(const std::string& fullPath, AcadDocument*& document) {
    dropClosed();
    std::unique_ptr<AcadDocument> doc;
    Status status = AcadDocument::open(fullPath, doc);
    if (!status.ok()) return status;
    documents_.push_back(std::move(doc));
    document = documents_.back().get();
    return Status{};
}

AcadDocument* AcadDocuments::add() {
    dropClosed();
    const std::string name = "Drawing" + std::to_string(++added_) + ".dwg";
    documents_.push_back(AcadDocument::createNew(fullPathOf(name)));
    return documents_.back().get();
}

void AcadDocuments::close() {
    for (auto& doc : documents_) doc->close(false);
    documents_.clear();
}

size_t AcadDocuments::count() {
    dropClosed();
    return documents_.size();
}

AcadDocument* AcadDocuments::activeDocument() {
    dropClosed();
    return documents_.empty() ? nullptr : documents_.back().get();
}

void AcadDocuments::dropClosed() {
    std::erase_if(documents_, [](const std::unique_ptr<AcadDocument>& d) { return d->isClosed(); });
}

}  // namespace drawing
