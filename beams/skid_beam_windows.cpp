// The navigation between the sixteen skid-beam windows:
//   Form1 下一窗口 → row window N;  row 返回 → Form1;  row 结果比较 → Form21;
//   Form21 下一窗口 → column window N;  Form21 返回 → the row window that opened it
//   (Form1 when none did);  column 上一窗口 → Form21;
//   Form1 结束 and column 结束 → the quit question.
// A column window's row key "k" takes the calculated load P from force k of the row
// window that last opened Form21, as its last calculation showed it.
#include "beams/skid_beam_windows.h"

#include <QCoreApplication>
#include <QPointer>
#include <map>

#include "beams/column_window.h"
#include "beams/count_chooser.h"
#include "beams/row_window.h"
#include "ui/message_box.h"
#include "ui/number_text.h"
#include "ui/window_placement.h"

namespace beams {
namespace {

class SkidBeamWindows : public QObject {
public:
    static SkidBeamWindows& instance() {
        static SkidBeamWindows windows;
        return windows;
    }

    void showRowChooser(QWidget* opener) { ui::showWindow(rowChooser(), opener); }

private:
    CountChooser* rowChooser() {
        if (!rowChooser_) {
            rowChooser_ = new CountChooser(BeamFamily::Row);
            connect(rowChooser_, &CountChooser::countChosen, this,
                    [this](int n) { moveTo(rowChooser_, rowWindow(n)); });
            connect(rowChooser_, &CountChooser::secondButtonClicked, this,
                    [this] { askToQuit(rowChooser_); });
        }
        return rowChooser_;
    }

    CountChooser* columnChooser() {
        if (!columnChooser_) {
            columnChooser_ = new CountChooser(BeamFamily::Column);
            connect(columnChooser_, &CountChooser::countChosen, this,
                    [this](int n) { moveTo(columnChooser_, columnWindow(n)); });
            connect(columnChooser_, &CountChooser::secondButtonClicked, this, [this] {
                moveTo(columnChooser_, opener_ ? static_cast<QWidget*>(opener_) : rowChooser());
            });
        }
        return columnChooser_;
    }

    RowWindow* rowWindow(int n) {
        RowWindow*& w = rows_[n];
        if (!w) {
            w = new RowWindow(n);
            RowWindow* self = w;
            connect(w, &RowWindow::backRequested, this,
                    [this, self] { moveTo(self, rowChooser()); });
            connect(w, &RowWindow::compareRequested, this, [this, self] {
                opener_ = self;
                moveTo(self, columnChooser());
            });
        }
        return w;
    }

    ColumnWindow* columnWindow(int n) {
        ColumnWindow*& w = columns_[n];
        if (!w) {
            w = new ColumnWindow(n, [this](const std::string& key) { return rowLoad(key); });
            ColumnWindow* self = w;
            connect(w, &ColumnWindow::backRequested, this,
                    [this, self] { moveTo(self, columnChooser()); });
            connect(w, &ColumnWindow::quitRequested, this, [this, self] { askToQuit(self); });
        }
        return w;
    }

    std::optional<double> rowLoad(const std::string& key) const {
        if (!opener_) return std::nullopt;
        const std::vector<std::string>& forces = opener_->lastForces();
        const auto k = rowKeyNumber(key, static_cast<int>(forces.size()));
        if (!k) return std::nullopt;
        return ui::readNumber(forces[*k - 1]);
    }

    // The next window is placed over the one it replaces, so that one hides after.
    static void moveTo(QWidget* leaving, QWidget* next) {
        ui::showWindow(next, leaving);
        leaving->hide();
    }

    static void askToQuit(QWidget* parent) {
        if (ui::showMessage(parent, QStringLiteral("退出"), QStringLiteral("真的想退出吗?!"),
                            ui::Icon::Warning, ui::Buttons::YesNo) == ui::Answer::Yes)
            QCoreApplication::quit();
    }

    QPointer<CountChooser> rowChooser_, columnChooser_;
    std::map<int, RowWindow*> rows_;
    std::map<int, ColumnWindow*> columns_;
    QPointer<RowWindow> opener_;
};

}  // namespace

void showRowCountChooser(QWidget* opener) { SkidBeamWindows::instance().showRowChooser(opener); }

}  // namespace beams
