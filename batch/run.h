// A batch run without windows: every listed drawing is opened in turn, plotted,
// purged and
// audited ten passes each, its target block's attributes edited, a copy saved under a
// name built from the block's attributes, and the drawing closed, saved when anything
// was asked of it. A drawing that cannot be opened or saved, or that lacks the target
// block, gets an entry in the error log (with the drawing's full path) and the run goes
// on. The run can be stopped between any two of its steps: the drawing in hand is then
// closed without saving, so every file is either untouched or completely written.
// (worker_pool.h runs the same drawings in worker processes.)
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/attribute_edit.h"
#include "batch/file_name_template.h"
#include "drawing/document.h"
#include "ui/message.h"

namespace batch {

struct BatchSettings {
    bool plot = false;       // "打印"
    std::string device;      //   the printer, plot style table and paper
    std::string styleSheet;  //   chosen in the print frame
    std::string paper;
    int paperUnits = 1;               //   1 millimetres ("毫米"), 0 inches ("英寸")
    bool purge = false;               // "减肥"
    bool audit = false;               // "纠错"
    bool editAttributes = false;      // "块属性修改"
    bool renameCopy = false;          // "更改文件名"
    std::string block;                // the target block name
    std::vector<std::string> tags;    // attribute edit: parallel lists of tags
    std::vector<std::string> values;  //   and new values
    FileNameTemplate name;            // file-name change
    std::string errorLog;             // path of the error log
    std::string plotInto;             // a PDF binding every plot of the run (plot_book.h)
};

// What a drawing is about to do with a file, as told to BatchObserver::claim.
enum class FileUse {
    Plot,  // plot the drawing at the path (a PDF beside it, or a printer job)
    Copy,  // save the copy named from the attributes to the path
    Save,  // write the document to its own file, the path
};

struct BatchObserver {
    std::function<void(size_t number, size_t count, const std::string& path)> started;
    StatusSink status;
    std::function<void(const std::string& path)> saved;
    // The drawing at `path` went to the plot device; `output` is the PDF written (its
    // name made free when the drawing's own was taken) or the printer that took the job.
    std::function<void(const std::string& path, const std::string& output)> plotted;
    // Something about a plot that went out all the same (a style table plotted as
    // displayed), said once.
    std::function<void(const std::string& text)> note;
    // What the drawing at `path` (a DWG) held that its translation left out, one line
    // per kind; each line also goes to the error log.
    std::function<void(const std::string& path, const std::string& text)> drawingNote;
    std::function<void(const std::string& path, const std::string& reason)> error;
    // Drawing `number` was taken to its end (closed, saved or not, its errors logged);
    // not said of the drawing a stop abandoned.
    std::function<void(size_t number)> done;
    // The error log at `logPath` could not be written; the entry's error line went out
    // all the same and the run goes on.
    std::function<void(const std::string& logPath)> logFailed;
    // Asked between the steps, on the thread that runs the batch, and while a plot runs,
    // from the plot's threads one at a time; true ends the run before its next step and
    // a plot at once.
    std::function<bool()> stopRequested;
    // Asked before the drawing plots or writes a file (may block while earlier drawings
    // of a run in worker processes are not done with it); false abandons the drawing in
    // hand as a stop does. Each claim granted is followed by `released` once the use is
    // over.
    std::function<bool(FileUse use, const std::string& path)> claim;
    std::function<void()> released;
};

// The check before a run that plots: the message for the first of printer, plot style
// table and paper left unchosen, none when all three are chosen.
ui::OptionalMessage plotChoiceMessage(const BatchSettings& settings);

// Runs the batch over `drawings` in order and returns the number of drawings taken
// (fewer than listed when the run was stopped).
size_t runBatch(drawing::AcadApplication& application, const std::vector<std::string>& drawings,
                const BatchSettings& settings, const BatchObserver& observer);

// One drawing of a run, drawing `number` of `count`, from `started` to its close. Its
// errors reach `observer.error` alone: the caller keeps the error log. Returns false
// when a stop abandoned the drawing.
bool runDrawing(drawing::AcadApplication& application, size_t number, size_t count,
                const std::string& path, const BatchSettings& settings,
                const BatchObserver& observer);

// The end of a run: its last status text, every document closed, the session ended.
void finishBatch(drawing::AcadApplication& application, const BatchObserver& observer);

// `observer` with each error also appended to the error log at `logPath` (and
// `logFailed` told when that fails).
BatchObserver loggingObserver(const BatchObserver& observer, const std::string& logPath);

}  // namespace batch
