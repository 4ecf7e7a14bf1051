#include "batch/window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <filesystem>

#include "batch/attribute_panel.h"
#include "batch/background_run.h"
#include "batch/collection.h"
#include "batch/plot_book.h"
#include "batch/print_frame.h"
#include "batch/progress_window.h"
#include "batch/run.h"
#include "batch/run_summary.h"
#include "plot/plotter.h"
#include "ui/data_paths.h"
#include "ui/file_dialogs.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/settings.h"
#include "ui/text_viewer.h"

namespace batch {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

void tell(QWidget* parent, const ui::Message& m, ui::Icon icon = ui::Icon::Information) {
    ui::showMessage(parent, qs(m.title), qs(m.text), icon);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

// The operations in the order of their boxes, and whether the user can tick them.
struct Operation {
    const char* caption;
    bool enabled;
};
const Operation kOperations[12] = {
    {"减肥", true},       {"纠错", true},       {"加密", false},       {"打印", true},
    {"文字替换", false},  {"块提取", false},    {"块属性修改", true},  {"打印戳记", false},
    {"转PDF文件", false}, {"更改文件名", true}, {"块属性修改", false}, {"提取文件名", true},
};

// The boxes whose state enables the start command: 减肥, 纠错, 打印, 块属性修改, 更改文件名.
constexpr int kRunOperations[] = {1, 2, 4, 7, 10};

std::string dataFile(const char* name) {
    QDir().mkpath(QString::fromStdString(ui::dataDir()));
    return ui::dataDir() + "/" + name;
}

}  // namespace

Form10::Form10() {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("批量操作"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (!drawing::plotService()) plot::installPlotService(ui::dataDir());
    progress_ = std::make_unique<CadMessage>();
    connect(progress_.get(), &CadMessage::stopPressed, this, &Form10::stopRun);
    runner_ = new BackgroundRun(this);
    runner_->setObjectName(QStringLiteral("backgroundRun"));
    connect(runner_, &BackgroundRun::drawingStarted, progress_.get(), &CadMessage::showDrawing);
    connect(runner_, &BackgroundRun::status, progress_.get(), &CadMessage::showStatus);
    connect(runner_, &BackgroundRun::inHandChanged, progress_.get(), &CadMessage::showInHand);
    runner_->setWorkers(defaultWorkerOptions());
    connect(runner_, &BackgroundRun::logFailed, this, [this] { logFailed_ = true; });
    connect(runner_, &BackgroundRun::drawingStarted, this, [this](int n) { current_ = n; });
    connect(runner_, &BackgroundRun::drawingFailed, this, [this] { failed_.insert(current_); });
    connect(runner_, &BackgroundRun::drawingDone, this, [this] { ++done_; });
    connect(runner_, &BackgroundRun::finished, this, &Form10::runFinished);

    auto* grid = new QGridLayout(this);
    panel_ = new AttributePanel(acad_, *progress_, this);
    print_ = new PrintFrame(acad_, this);
    connect(print_, &PrintFrame::listChosen, this, [this] { start_->setEnabled(true); });
    createListCommands();
    createOperations();
    createRunCommands();
    grid->addWidget(print_, 2, 0);
    grid->addWidget(panel_, 0, 1, 4, 1);
    ui::closeOnEscape(this);
    restoreSettings();
}

// A run still going is stopped before the window's members go.
Form10::~Form10() { delete runner_; }

void Form10::createListCommands() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    list_ = new QComboBox(box);
    list_->setObjectName(QStringLiteral("Combo1"));
    list_->setMinimumContentsLength(40);
    grid->addWidget(list_, 0, 0, 1, 3);
    QPushButton* one = button(box, "Command1", QStringLiteral("添加单目录图纸"));
    connect(one, &QPushButton::clicked, this, [this] {
        addSingleFolder(ui::openFileName(this, QStringLiteral("drawing"),
                                         QStringLiteral("添加单目录图纸"),
                                         QString::fromUtf8(kDrawingFileFilter)));
    });
    QPushButton* tree = button(box, "Command4", QStringLiteral("添加多目录图纸"));
    connect(tree, &QPushButton::clicked, this, [this] {
        addfilefolder(ui::existingFolder(this, QStringLiteral("drawingTree"),
                                         QStringLiteral("添加多目录图纸")));
    });
    names_ = button(box, "Command5", QStringLiteral("提取文件名"));
    names_->setEnabled(false);
    connect(names_, &QPushButton::clicked, this, &Form10::extractFileNames);
    grid->addWidget(one, 1, 0);
    grid->addWidget(tree, 1, 1);
    grid->addWidget(names_, 1, 2);
    static_cast<QGridLayout*>(layout())->addWidget(box, 0, 0);
}

void Form10::createOperations() {
    auto* frame = new QGroupBox(QStringLiteral("高级功能选择"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < 12; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kOperations[i].caption), frame);
        box->setObjectName(QStringLiteral("Check%1").arg(i + 1));
        box->setEnabled(kOperations[i].enabled);
        grid->addWidget(box, i / 4, i % 4);
        checks_.append(box);
    }
    for (int n : kRunOperations)
        connect(check(n), &QCheckBox::toggled, this, &Form10::operationToggled);
    connect(check(4), &QCheckBox::toggled, this, &Form10::printToggled);
    connect(check(7), &QCheckBox::toggled, panel_, &AttributePanel::enableAttributeEdit);
    connect(check(10), &QCheckBox::toggled, panel_, &AttributePanel::enableFileName);
    connect(check(12), &QCheckBox::toggled, names_, &QPushButton::setEnabled);
    static_cast<QGridLayout*>(layout())->addWidget(frame, 1, 0);
}

void Form10::createRunCommands() {
    auto* row = new QHBoxLayout;
    start_ = button(this, "Command2", QStringLiteral("开始执行操作"));
    start_->setEnabled(false);
    connect(start_, &QPushButton::clicked, this, &Form10::startRun);
    QPushButton* exit = button(this, "Command3", QStringLiteral("退出"));
    connect(exit, &QPushButton::clicked, this, [this] {
        hide();
        close();
    });
    row->addWidget(start_);
    row->addWidget(exit);
    static_cast<QGridLayout*>(layout())->addLayout(row, 3, 0);
}

void Form10::operationToggled() {
    bool any = false;
    for (int n : kRunOperations) any = any || check(n)->isChecked();
    start_->setEnabled(any);
}

void Form10::printToggled(bool ticked) {
    if (ticked) {
        progress_->showLoading();
        print_->setUp();
    }
    activateWindow();
    start_->setEnabled(true);
    print_->setEnabled(true);
    progress_->hide();
}

void Form10::setDrawings(const std::vector<std::string>& drawings) {
    list_->clear();
    for (const std::string& d : drawings) list_->addItem(qs(d));
    list_->setCurrentIndex(drawings.empty() ? -1 : 0);
}

std::vector<std::string> Form10::drawings() const {
    std::vector<std::string> all;
    for (int i = 0; i < list_->count(); ++i) all.push_back(list_->itemText(i).toStdString());
    return all;
}

void Form10::addSingleFolder(const QString& chosenFile) {
    if (chosenFile.isEmpty()) return;
    std::vector<std::string> list = drawings();
    const drawing::Status added =
        addFolderDrawings(QFileInfo(chosenFile).absolutePath().toStdString(), list);
    if (!added.ok()) {
        tell(this, {"Pellam提示", added.reason + "：" + added.path}, ui::Icon::Warning);
        return;
    }
    setDrawings(list);
    if (list.empty()) tell(this, noDrawingsMessage());
}

void Form10::addfilefolder(const QString& folder) {
    if (folder.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    list_->clear();
    progress_->showLoading();
    QApplication::processEvents();
    const TreeSearch found = FindFilesAPI(folder.toStdString());
    setDrawings(found.drawings);
    QApplication::restoreOverrideCursor();
    progress_->hide();
    if (!found.unreadable.empty()) {
        std::string text = "以下文件夹无法读取，已跳过：";
        for (const std::string& f : found.unreadable) text += "\n" + f;
        tell(this, {"Pellam提示", text}, ui::Icon::Warning);
    }
    if (found.drawings.empty()) tell(this, noDrawingsMessage());
}

void Form10::extractFileNames() {
    if (list_->count() == 0) return;
    const std::string path = dataFile("tempqrz.txt");
    if (!writeDrawingNameList(path, drawings()).ok()) {
        tell(this, {"Pellam提示", std::string(drawing::reason::kUnwritable) + "：" + path},
             ui::Icon::Warning);
        return;
    }
    tell(this, nameListWrittenMessage(path));
}

bool Form10::checkBeforeRun() {
    ui::OptionalMessage refusal;
    if (std::none_of(checks_.begin(), checks_.end(), [](QCheckBox* b) { return b->isChecked(); }))
        refusal = ui::Message{"友情提示", "阁下想做什么呢？"};
    else if (list_->count() == 0)
        refusal = ui::Message{"友情提示", "忘记添加dwg图形文件了吧？"};
    else if (check(4)->isChecked())
        refusal = print_->check();
    if (!refusal) return true;
    tell(this, *refusal);
    return false;
}

BatchSettings Form10::settings() const {
    BatchSettings s;
    s.plot = check(4)->isChecked();
    if (s.plot) print_->apply(s);
    s.purge = check(1)->isChecked();
    s.audit = check(2)->isChecked();
    s.editAttributes = check(7)->isChecked();
    s.renameCopy = check(10)->isChecked();
    s.block = panel_->targetBlock();
    s.tags = panel_->tags();
    s.values = panel_->newValues();
    s.name = panel_->fileNameTemplate();
    s.errorLog = dataFile("errlogoqrz.txt");
    const std::vector<std::string> list = drawings();
    if (s.plot && print_->bindsIntoOne() && !list.empty())  // beside the first drawing
        s.plotInto = (std::filesystem::path(list.front()).parent_path() / kWindowBookName).string();
    return s;
}

void Form10::startRun() {
    hide();
    if (!checkBeforeRun()) {
        show();
        return;
    }
    saveSettings();
    progress_->showProcessing();
    // The run opens its drawings in a session of its own; those open here are closed
    // as a run closes every drawing before it starts.
    panel_->forgetSample();
    print_->forgetDocument();
    acad_.documents().close();
    logFailed_ = false;
    current_ = done_ = 0;
    failed_.clear();
    runner_->start(drawings(), settings());
}

void Form10::runFinished(int taken, bool stopped) {
    progress_->hide();
    const std::string log = dataFile("errlogoqrz.txt");
    if (logFailed_)
        tell(this, {"提示", std::string(drawing::reason::kUnwritable) + "：" + log},
             ui::Icon::Warning);
    RunSummary run{stopped,
                   size_t(list_->count()),
                   size_t(taken),
                   size_t(done_),
                   size_t(failed_.size()),
                   QDate::currentDate().toString(Qt::ISODate).toStdString(),
                   log};
    const ui::Message summary = runSummaryMessage(run);
    const ui::Buttons buttons =
        run.failed > 0 && QFileInfo::exists(qs(log)) ? ui::Buttons::OkOpenLog : ui::Buttons::Ok;
    if (ui::showMessage(this, qs(summary.title), qs(summary.text), ui::Icon::Information,
                        buttons) == ui::Answer::OpenLog)
        ui::showTextFile(qs(log), QStringLiteral("批量操作错误日志"));
    close();
}

void Form10::stopRun() {
    progress_->hide();
    hide();
    if (runner_->running())
        runner_->requestStop();  // the window closes when the run has ended
    else
        close();
}

void Form10::closeEvent(QCloseEvent* event) {
    if (runner_->running()) {
        stopRun();
        event->ignore();
        return;
    }
    saveSettings();
    acad_.documents().close();
    acad_.quit();
    progress_->close();
    event->accept();
}

void Form10::saveSettings() const {
    ui::Settings settings;
    settings.beginGroup(QStringLiteral("batch"));
    QStringList list, ticked;
    for (const std::string& d : drawings()) list << qs(d);
    for (int n = 1; n <= int(checks_.size()); ++n)
        if (check(n)->isChecked()) ticked << QString::number(n);
    settings.setValue(QStringLiteral("drawings"), list);
    settings.setValue(QStringLiteral("operations"), ticked);
    settings.beginGroup(QStringLiteral("print"));
    print_->saveSettings(settings);
    settings.endGroup();
    settings.beginGroup(QStringLiteral("attributes"));
    panel_->saveSettings(settings);
}

// The drawing list comes back without the files that have gone since; the operations
// are ticked as the user would, so that the print set-up fills its lists before its
// choices are made again.
void Form10::restoreSettings() {
    ui::Settings settings;
    settings.beginGroup(QStringLiteral("batch"));
    std::vector<std::string> list;
    for (const QString& d : settings.value(QStringLiteral("drawings")).toStringList())
        if (QFileInfo(d).isFile()) list.push_back(d.toStdString());
    setDrawings(list);
    settings.beginGroup(QStringLiteral("attributes"));
    panel_->restoreSettings(settings);
    settings.endGroup();
    for (const QString& n : settings.value(QStringLiteral("operations")).toStringList())
        if (n.toInt() >= 1 && n.toInt() <= int(checks_.size()) && check(n.toInt())->isEnabled())
            check(n.toInt())->setChecked(true);
    settings.beginGroup(QStringLiteral("print"));
    if (check(4)->isChecked()) print_->restoreSettings(settings);
}

void Form10::showFromMenu() {
    if (runner_->running()) {
        progress_->raise();
        return;
    }
    show();
    raise();
    activateWindow();
}

void showBatchWindow() {
    static QPointer<Form10> window;
    if (!window) window = new Form10;
    window->showFromMenu();
}

}  // namespace batch
