// The drawing document and its collection: the object model that the batch run
// drives (AcadApplication, AcadDocuments, AcadDocument, AcadLayout).
//
// A document is a DXF file (whatever its name ends in) held in memory, or a drawing of a
// foreign format (DWG) translated into DXF. Nothing is written until SaveAs or
// Close(true); the engine writes DXF only, so a document read from a foreign format is
// saved as a DXF file beside it (x.dwg → x.dxf) and its own file is never touched.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/audit.h"
#include "drawing/drawing.h"
#include "drawing/entity.h"
#include "drawing/file.h"
#include "drawing/plot_service.h"
#include "drawing/purge.h"

namespace drawing {

// `path` made absolute against the current folder and lexically normal (links are not
// resolved); as it was when the current folder cannot be had.
std::string fullPathOf(const std::string& path);

// The layout that holds a document's plot settings: the model layout while model
// space is active, else the paper space layout the drawing shows. Its settings live in
// the document (not in the file) as long as the document is open; the device lists
// come from the registered PlotService (plot_service.h). A name that the lists do not
// hold is refused with the reason and leaves the setting as it was.
class AcadLayout {
public:
    AcadLayout(std::string name, int32_t record, PlotSettings& settings)
        : name_(std::move(name)), record_(record), settings_(&settings) {}
    const std::string& name() const { return name_; }
    int32_t record() const { return record_; }  // the LAYOUT object, -1 before AutoCAD 2000

    void refreshPlotDeviceInfo();
    std::vector<std::string> getPlotDeviceNames() const;
    std::vector<std::string> getPlotStyleTableNames() const;
    // The paper sizes of the device ConfigName names.
    std::vector<std::string> getCanonicalMediaNames() const;

    Status setConfigName(const std::string& device);
    Status setStyleSheet(const std::string& table);
    Status setCanonicalMediaName(const std::string& paper);
    void setPaperUnits(int units) { settings_->paperUnits = units; }
    void setCenterPlot(bool center) { settings_->centerPlot = center; }
    void setPlotType(int type) { settings_->plotType = type; }
    void setStandardScale(int scale) { settings_->standardScale = scale; }
    void setScaleLineweights(bool scale) { settings_->scaleLineweights = scale; }
    void setPlotRotation(int rotation) { settings_->plotRotation = rotation; }
    const PlotSettings& plotSettings() const { return *settings_; }

private:
    std::string name_;
    int32_t record_;
    PlotSettings* settings_;
};

// The plot of a document's active layout.
class AcadPlot {
public:
    explicit AcadPlot(AcadDocument& document) : document_(&document) {}
    // Plots the active layout to its ConfigName device with its settings; `stop`, when
    // given, is asked while the plot runs.
    PlotResult plotToDevice(const StopRequested& stop = {});

private:
    AcadDocument* document_;
};

class AcadDocument {
public:
    // Opens the drawing file at `fullPath`; fails with the reason and the path.
    static Status open(const std::string& fullPath, std::unique_ptr<AcadDocument>& document);
    // A new empty drawing to be saved as `fullPath`.
    static std::unique_ptr<AcadDocument> createNew(const std::string& fullPath);

    const std::string& fullName() const { return fullName_; }
    // Where the document's drawing came from (the format and what its translation left
    // out); the format is empty for DXF and once the document was saved as DXF.
    const DrawingSource& source() const { return source_; }
    bool isForeign() const { return !source_.format.empty(); }
    // The file Close(true) writes: the document's own file, or for a foreign drawing a
    // DXF file beside it (never written over when it exists).
    std::string saveTarget() const;
    // The extension of copies saved from the document: ".dxf" for a foreign drawing,
    // else its own (".dwg" when it has none).
    std::string copyExtension() const;
    std::string name() const;  // the file name
    std::string path() const;  // the folder, without a trailing separator

    // 1 when model space is active ($TILEMODE 1 or missing), 0 for paper space.
    int activeSpace() const;
    // The entities of each space in file order (attributes, vertices and SEQENDs
    // belong to their entity and are not listed).
    std::vector<AcadEntity> modelSpace();
    std::vector<AcadEntity> paperSpace();
    std::vector<AcadEntity> activeSpaceEntities();
    AcadLayout activeLayout();
    AcadPlot plot() { return AcadPlot(*this); }

    PurgeReport purgeAll();
    AuditReport auditInfo(bool fix);

    // Writes the drawing to `fullPath` and makes it the document's file. With
    // WriteMode::NewOnly an existing file is never replaced. On failure nothing
    // changes, the document's file name included.
    Status saveAs(const std::string& fullPath, WriteMode mode = WriteMode::Replace);
    // Saves to saveTarget() first when `save` is true; a document whose save failed
    // stays open.
    Status close(bool save);
    bool isClosed() const { return closed_; }

    Drawing& drawing() { return drawing_; }

private:
    std::vector<AcadEntity> entitiesOf(bool paper);

    std::string fullName_;
    Drawing drawing_;
    DrawingSource source_;
    bool closed_ = false;
    std::map<std::string, PlotSettings> plotSettings_;  // by layout name
    // The drawing's change count when a purge or an audit last found nothing: until the
    // drawing changes, another pass would find nothing again.
    uint64_t purgedAt_ = UINT64_MAX;
    uint64_t auditedAt_ = UINT64_MAX;
};

class AcadDocuments {
public:
    // Opens a drawing and makes it the active document.
    Status open(const std::string& fullPath, AcadDocument*& document);
    // Adds a new empty drawing ("DrawingN.dwg" in the current folder) and makes it active.
    AcadDocument* add();
    // Closes every document without saving.
    void close();

    size_t count();
    AcadDocument* activeDocument();

private:
    void dropClosed();
    std::vector<std::unique_ptr<AcadDocument>> documents_;
    int added_ = 0;
};

class AcadApplication {
public:
    AcadDocuments& documents() { return documents_; }
    AcadDocument* activeDocument() { return documents_.activeDocument(); }
    // Ends the session: every document is closed without saving.
    void quit() { documents_.close(); }

private:
    AcadDocuments documents_;
};

}  // namespace drawing
