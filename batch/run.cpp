#include "batch/run.h"

#include "batch/error_log.h"

namespace batch {
namespace {

// How a step that may be refused ended: done (or failed, and the run goes on), or the
// drawing abandoned because its file use was refused.
enum class Step { Done, Failed, Abandoned };

class Run {
public:
    Run(drawing::AcadApplication& app, const BatchSettings& settings, const BatchObserver& observer)
        : app_(app), settings_(settings), observer_(observer) {}

    bool stopped() const { return observer_.stopRequested && observer_.stopRequested(); }

    void drawing(size_t number, size_t count, const std::string& path) {
        abandoned_ = false;
        if (observer_.started) observer_.started(number, count, path);
        copySaved_.clear();
        say("正在打开文件。。。。。。");
        drawing::AcadDocument* doc = nullptr;
        const drawing::Status opened = app_.documents().open(path, doc);
        if (!opened.ok()) {
            error(path, opened.reason);
            return;
        }
        if (observer_.drawingNote)
            for (const std::string& note : doc->source().notes) observer_.drawingNote(path, note);
        // Stopping abandons the drawing in hand: its edits are only in memory.
        const auto abandon = [&] {
            doc->close(false);
            abandoned_ = true;
        };
        if (settings_.plot) {
            if (stopped() || plot(*doc, path) == Step::Abandoned) return abandon();
        }
        if (settings_.purge) {
            for (int k = 1; k <= 10; ++k) {
                if (stopped()) return abandon();
                say("正在清除文件垃圾，第" + std::to_string(k) + "遍 共 10 遍");
                doc->purgeAll();
            }
        }
        if (settings_.audit) {
            for (int k = 1; k <= 10; ++k) {
                if (stopped()) return abandon();
                say("正在纠正文件错误，第" + std::to_string(k) + "遍 共 10 遍");
                doc->auditInfo(true);
            }
        }
        if (stopped()) return abandon();
        if (settings_.editAttributes && !editAttributes(*doc, settings_.block, settings_.tags,
                                                        settings_.values, observer_.status))
            error(path, missingBlockReason(settings_.block));
        copySaved_.clear();
        if (stopped()) return abandon();
        if (settings_.renameCopy) {
            // A copy that could not be written leaves the drawing's own file as it was:
            // the edits were meant for the copy.
            const Step copied = saveCopy(*doc, path);
            if (copied == Step::Abandoned) return abandon();
            if (copied == Step::Failed) {
                say("正在关闭图形。。。。。。");
                doc->close(false);
                return;
            }
        }
        if (stopped()) return abandon();
        close(*doc);
    }

    bool abandoned() const { return abandoned_; }

    void finish() {
        say("正在退出 AUTOCAD2004。。。。。。 ");
        app_.documents().close();
        app_.quit();
    }

private:
    void say(const std::string& text) {
        if (observer_.status) observer_.status(text);
    }

    bool claim(FileUse use, const std::string& path) {
        return !observer_.claim || observer_.claim(use, path);
    }

    void release() {
        if (observer_.released) observer_.released();
    }

    void error(const std::string& path, const std::string& reasonLine) {
        if (observer_.error) observer_.error(path, reasonLine);
    }

    // The layout set up as the print frame says, fit to the paper, centred, turned by
    // 90°, and plotted. A failed plot is logged and the run goes on; a plot the stop
    // ended abandons the drawing and is not a failure of it.
    Step plot(drawing::AcadDocument& doc, const std::string& path) {
        if (!claim(FileUse::Plot, path)) return Step::Abandoned;
        say("正在设置打印机。。。。。。");
        drawing::AcadLayout layout = doc.activeLayout();
        drawing::Status status = layout.setConfigName(settings_.device);
        if (status.ok()) status = layout.setStyleSheet(settings_.styleSheet);
        if (status.ok()) status = layout.setCanonicalMediaName(settings_.paper);
        layout.setPaperUnits(settings_.paperUnits);
        layout.setCenterPlot(true);
        layout.setPlotType(1);
        layout.setStandardScale(0);
        layout.setScaleLineweights(false);
        layout.setPlotRotation(1);
        say("正在打印。。。。。。");
        drawing::PlotResult result;
        if (status.ok()) result = doc.plot().plotToDevice([this] { return stopped(); });
        release();
        if (!result.note.empty() && observer_.note) observer_.note(result.note);
        if (result.status.reason == drawing::reason::kPlotStopped) return Step::Abandoned;
        if (!status.ok() || !result.status.ok()) {
            const drawing::Status& failed = status.ok() ? result.status : status;
            error(path, failed.path.empty() ? failed.reason : failed.reason + "：" + failed.path);
            return Step::Failed;
        }
        if (observer_.plotted) observer_.plotted(path, result.output);
        return Step::Done;
    }

    // The copy under the name built from the block's attributes. The copy keeps the
    // drawing's own extension; a name that would be empty, or a file that already
    // exists, writes no copy.
    Step saveCopy(drawing::AcadDocument& doc, const std::string& path) {
        const auto built = buildFileName(doc, settings_.block, settings_.name, observer_.status);
        if (!built) {
            error(path, missingBlockReason(settings_.block));
            return Step::Failed;
        }
        const std::string name = safeFileName(*built);
        if (name.empty()) {
            error(path, "文件名为空，未另存副本");
            return Step::Failed;
        }
        // Copies of a DWG are DXF files.
        const std::string target = doc.path() + "/" + name + doc.copyExtension();
        say("正在另存图形到" + target);
        const bool own = target == doc.fullName();
        if (!claim(FileUse::Copy, target)) return Step::Abandoned;
        const drawing::Status status =
            doc.saveAs(target, own ? drawing::WriteMode::Replace : drawing::WriteMode::NewOnly);
        release();
        if (!status.ok()) {
            error(path, status.reason + "：" + target);
            return Step::Failed;
        }
        copySaved_ = target;
        if (observer_.saved) observer_.saved(target);
        return Step::Done;
    }

    void close(drawing::AcadDocument& doc) {
        // A plot alone changes no file.
        const bool save =
            settings_.purge || settings_.audit || settings_.editAttributes || settings_.renameCopy;
        if (!save) {
            say("正在关闭图形。。。。。。");
            doc.close(false);
            return;
        }
        say("正在保存图形。。。。。。");
        // A DWG is saved as the DXF file beside it.
        const std::string target = doc.saveTarget();
        if (!claim(FileUse::Save, target)) {
            doc.close(false);
            return;
        }
        const drawing::Status status = doc.close(true);
        release();
        if (status.ok()) {
            // After the copy the drawing is that copy: closing writes it once more, but
            // it is still one file written.
            if (observer_.saved && target != copySaved_) observer_.saved(target);
            return;
        }
        error(target, status.reason);
        doc.close(false);
    }

    drawing::AcadApplication& app_;
    const BatchSettings& settings_;
    const BatchObserver& observer_;
    std::string copySaved_;  // the copy saved for the current drawing, if any
    bool abandoned_ = false;  // the current drawing was left unfinished by a stop
};

}  // namespace

ui::OptionalMessage plotChoiceMessage(const BatchSettings& settings) {
    if (settings.device.empty()) return ui::Message{"友情提示", "想打印不选打印机怎么能行呢？"};
    if (settings.styleSheet.empty())
        return ui::Message{"友情提示", "打印样式不选一个，打印的东东一团糟！"};
    if (settings.paper.empty()) return ui::Message{"友情提示", "真没记性！打印纸张还没选！"};
    return std::nullopt;
}

size_t runBatch(drawing::AcadApplication& application, const std::vector<std::string>& drawings,
                const BatchSettings& settings, const BatchObserver& observer) {
    const BatchObserver logging = loggingObserver(observer, settings.errorLog);
    application.documents().close();
    size_t taken = 0;
    while (taken < drawings.size() && !(observer.stopRequested && observer.stopRequested())) {
        ++taken;
        if (runDrawing(application, taken, drawings.size(), drawings[taken - 1], settings,
                       logging) &&
            observer.done)
            observer.done(taken);
    }
    finishBatch(application, observer);
    return taken;
}

bool runDrawing(drawing::AcadApplication& application, size_t number, size_t count,
                const std::string& path, const BatchSettings& settings,
                const BatchObserver& observer) {
    Run run(application, settings, observer);
    run.drawing(number, count, path);
    return !run.abandoned();
}

void finishBatch(drawing::AcadApplication& application, const BatchObserver& observer) {
    BatchSettings none;
    Run(application, none, observer).finish();
}

BatchObserver loggingObserver(const BatchObserver& observer, const std::string& logPath) {
    using Entry = std::function<void(const std::string& path, const std::string& text)>;
    // The entry goes to the log, then on to `observer`'s own `told`.
    const auto logged = [&observer, &logPath](Entry BatchObserver::*told) -> Entry {
        return [observer, logPath, told](const std::string& path, const std::string& text) {
            const drawing::Status written =
                appendErrorLog(logPath, drawing::fullPathOf(path), text);
            if (observer.*told) (observer.*told)(path, text);
            if (!written.ok() && observer.logFailed) observer.logFailed(logPath);
        };
    };
    BatchObserver logging = observer;
    logging.error = logged(&BatchObserver::error);
    // What a DWG held that was not translated is logged too.
    logging.drawingNote = logged(&BatchObserver::drawingNote);
    return logging;
}

}  // namespace batch
