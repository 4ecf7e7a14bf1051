#include "heat/heat_transfer_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "db/bound_display.h"
#include "db/read_failure_box.h"
#include "heat/add_material_dialog.h"
#include "heat/convection_method.h"
#include "heat/heat_texts.h"
#include "heat/material_table.h"
#include "heat/temperature_drop_chart.h"
#include "heat/temperature_profile.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

namespace heat {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }
std::string str(const QString& s) { return s.toStdString(); }

QString indexed(const char* name, int k) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(k);
}

QLineEdit* field(const QString& name, bool readOnly, int width = 90) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    edit->setMinimumWidth(width);
    return edit;
}

QPushButton* button(const char* name, const QString& text) {
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

const char* const kInterfaceCaptions[kLayerCount - 1] = {
    "1-2层间温度", "2-3层间温度：", "3-4层间温度：", "4-5层间温度：", "5-6层间温度："};
constexpr int kMaxListedMaterials = 1000;

}  // namespace

HeatTransferWindow::HeatTransferWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HeatTransferWindow"));
    setWindowTitle(QStringLiteral("传热计算"));
    createControls();
    openDatabase();
    bindLayerDisplays();
    ui::closeOnEscape(this);
}

HeatTransferWindow::~HeatTransferWindow() = default;

void HeatTransferWindow::createControls() {
    auto* outer = new QVBoxLayout(this);

    auto* top = new QGridLayout;
    location_ = new QComboBox;
    location_->setObjectName(QStringLiteral("Combo1"));
    for (const std::string& name : locationNames()) location_->addItem(qs(name));
    location_->setCurrentIndex(-1);
    // Wide enough for its entries whatever the window's size and the style's arrow.
    location_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    location_->setMinimumContentsLength(8);
    rangeNote_ = new QLabel;
    rangeNote_->setObjectName(QStringLiteral("Label3"));
    innerTemperature_ = field(QStringLiteral("Text1"), false);
    ambient_ = new QComboBox;
    ambient_->setObjectName(QStringLiteral("Combo2"));
    for (int t = 0; t <= 200; ++t) ambient_->addItem(QString::number(t));
    ambient_->setCurrentIndex(20);
    top->addWidget(new QLabel(QStringLiteral("选择计算部位：")), 0, 0);
    top->addWidget(location_, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("炉内表面温度：")), 0, 2);
    top->addWidget(innerTemperature_, 0, 3);
    top->addWidget(new QLabel(QStringLiteral("选择环境温度：")), 0, 4);
    top->addWidget(ambient_, 0, 5);
    top->addWidget(rangeNote_, 1, 0, 1, 2);
    outer->addLayout(top);
    connect(location_, &QComboBox::currentIndexChanged, this, &HeatTransferWindow::locationChosen);

    auto* layerBox = new QGroupBox(QStringLiteral("保温层（由内向外）"));
    auto* grid = new QGridLayout(layerBox);
    const QStringList headings = {"",       "材料",           "名称：",    "厚度：",
                                  "容重：", "最高使用温度：", "导热系数："};
    for (int c = 0; c < headings.size(); ++c) grid->addWidget(new QLabel(headings[c]), 0, c);
    for (int k = 0; k < kLayerCount; ++k) {
        LayerRow& row = layers_[k];
        row.materials = new QComboBox;
        row.materials->setObjectName(indexed("Combo3", k));
        row.materials->setEditable(true);
        row.materials->setInsertPolicy(QComboBox::NoInsert);
        row.materials->setMinimumWidth(170);
        row.name = field(indexed("Text2", k), true, 170);
        row.thickness = field(indexed("Text3", k), false, 60);
        row.thickness->setText(QStringLiteral("0"));
        row.density = field(indexed("Text4", k), true, 60);
        row.maxTemperature = field(indexed("Text5", k), true, 60);
        row.conductivity = field(indexed("Text6", k), true, 110);
        grid->addWidget(new QLabel(QString::fromStdString(layerName(k) + "：")), k + 1, 0);
        const QList<QWidget*> cells = {row.materials, row.name,           row.thickness,
                                       row.density,   row.maxTemperature, row.conductivity};
        for (int c = 0; c < cells.size(); ++c) grid->addWidget(cells[c], k + 1, c + 1);
        // A pick from the list, or a name typed and confirmed with Enter.
        connect(row.materials, &QComboBox::textActivated, this,
                [this, k](const QString& name) { chooseLayerMaterial(k, name); });
        connect(row.materials->lineEdit(), &QLineEdit::returnPressed, this,
                [this, k] { chooseLayerMaterial(k, layers_[k].materials->currentText()); });
    }
    outer->addWidget(layerBox);

    auto* resultBox = new QGroupBox(QStringLiteral("计算结果"));
    auto* results = new QGridLayout(resultBox);
    for (int k = 0; k < kLayerCount - 1; ++k) {
        interfaces_.append(field(indexed("Text7", k), true));
        results->addWidget(new QLabel(QString::fromUtf8(kInterfaceCaptions[k])), k, 0);
        results->addWidget(interfaces_.last(), k, 1);
    }
    tOut_ = field(QStringLiteral("Text8"), true);
    q_ = field(QStringLiteral("Text9"), true, 130);
    qc_ = field(QStringLiteral("Text10"), true, 130);
    iterations_ = field(QStringLiteral("Text14"), true, 60);
    const QStringList airNames = {"Text11", "Text12", "Text13"};
    for (int i = 0; i < 3; ++i) airDisplays_[i] = field(airNames[i], true);
    const QList<std::pair<QString, QWidget*>> right = {
        {QStringLiteral("外表温度："), tOut_},
        {QStringLiteral("散热量："), q_},
        {QStringLiteral("对流散热量 q_c："), qc_},
        {QStringLiteral("热导率"), airDisplays_[0]},
        {QStringLiteral("运动粘度"), airDisplays_[1]},
        {QStringLiteral("普朗特准数"), airDisplays_[2]},
        {QStringLiteral("迭代次数："), iterations_},
    };
    for (int r = 0; r < right.size(); ++r) {
        results->addWidget(new QLabel(right[r].first), r, 2);
        results->addWidget(right[r].second, r, 3);
    }
    results->addWidget(new QLabel(QStringLiteral("千卡/米2*时")), 1, 4);
    results->addWidget(new QLabel(QStringLiteral("千卡/米2*时")), 2, 4);
    rangeWarning_ = new QLabel;
    rangeWarning_->setObjectName(QStringLiteral("RangeWarning"));
    rangeWarning_->setStyleSheet(QStringLiteral("color: red"));
    rangeWarning_->hide();
    results->addWidget(rangeWarning_, int(right.size()), 0, 1, 8);
    createStandardFields(top, results);
    outer->addWidget(resultBox);
    createComparisonTable(outer);

    auto* buttons = new QHBoxLayout;
    const QList<std::pair<const char*, QString>> fields = {
        {"Command1", QStringLiteral("粗略查图表计算")},
        {"Command2", QStringLiteral("精确理论修正计算")},
        {"Command8", QStringLiteral("标准计算")},
        {"Command3", QStringLiteral("加载数据库")},
        {"Command4", QStringLiteral("添加数据库")},
        {"Command5", QStringLiteral("温降图")},
        {"Command6", QStringLiteral("帮助")},
        {"Command7", QStringLiteral("退出")}};
    QList<QPushButton*> made;
    for (const auto& [name, text] : fields) {
        made.append(button(name, text));
        buttons->addWidget(made.last());
    }
    outer->addLayout(buttons);
    outer->addStretch(1);  // a taller window keeps every control where it was
    connect(made[0], &QPushButton::clicked, this, [this] { calculate(false); });
    connect(made[1], &QPushButton::clicked, this, [this] { calculate(true); });
    connect(made[2], &QPushButton::clicked, this, &HeatTransferWindow::calculateStandard);
    connect(made[3], &QPushButton::clicked, this, [this] { loadMaterials(true); });
    connect(made[4], &QPushButton::clicked, this, &HeatTransferWindow::showAddMaterial);
    connect(made[5], &QPushButton::clicked, this, &HeatTransferWindow::showTemperatureDrop);
    connect(made[6], &QPushButton::clicked, this, &HeatTransferWindow::showHelp);
    connect(made[7], &QPushButton::clicked, this, [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
}

// The standard method's three inputs in a row below the location and temperatures, its
// four results beside the others.
void HeatTransferWindow::createStandardFields(QGridLayout* inputs, QGridLayout* results) {
    emissivity_ = field(QStringLiteral("Text15"), false, 50);
    height_ = field(QStringLiteral("Text16"), false, 50);
    length_ = field(QStringLiteral("Text17"), false, 50);
    const StandardInput defaults;
    const QList<std::tuple<QString, QLineEdit*, std::string>> in = {
        {QStringLiteral("发射率 ε："), emissivity_, defaults.emissivity},
        {QStringLiteral("墙高 H（米）："), height_, defaults.height},
        {QStringLiteral("炉顶/炉底特征长度 L（米）："), length_, defaults.length}};
    for (int i = 0; i < in.size(); ++i) {
        const auto& [caption, edit, text] = in[i];
        edit->setText(qs(text));
        inputs->addWidget(new QLabel(caption), 2, 2 * i);
        inputs->addWidget(edit, 2, 1 + 2 * i);
    }

    qW_ = field(QStringLiteral("Text18"), true, 130);
    hc_ = field(QStringLiteral("Text19"), true, 60);
    hr_ = field(QStringLiteral("Text20"), true, 60);
    radiationShare_ = field(QStringLiteral("Text21"), true, 60);
    const QList<std::tuple<QString, QLineEdit*, QString>> out = {
        {QStringLiteral("散热量："), qW_, QStringLiteral("W/m²")},
        {QStringLiteral("对流换热系数 h_c："), hc_, QStringLiteral("W/(m²·K)")},
        {QStringLiteral("辐射换热系数 h_r："), hr_, QStringLiteral("W/(m²·K)")},
        {QStringLiteral("辐射份额："), radiationShare_, QString()}};
    for (int r = 0; r < out.size(); ++r) {
        const auto& [caption, edit, unit] = out[r];
        results->addWidget(new QLabel(caption), r, 5);
        results->addWidget(edit, r, 6);
        if (!unit.isEmpty()) results->addWidget(new QLabel(unit), r, 7);
    }
}

void HeatTransferWindow::createComparisonTable(QVBoxLayout* outer) {
    auto* box = new QGroupBox(QStringLiteral("三种方法对比（标准计算时的炉衬）"));
    auto* layout = new QVBoxLayout(box);
    comparison_ = new QTableWidget(0, 3);
    comparison_->setObjectName(QStringLiteral("Grid1"));
    QStringList headers;
    for (const std::string& name : methodNames()) headers.append(qs(name));
    comparison_->setHorizontalHeaderLabels(headers);
    comparison_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    comparison_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    comparison_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    comparison_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(comparison_);
    fitComparison();
    outer->addWidget(box);
}

void HeatTransferWindow::openDatabase() {
    for (auto& cursor : materialCursors_) cursor = new db::TableCursor(this);
    airCursor_ = new db::TableCursor(this);
    for (db::TableCursor* cursor : materialCursors_) db::showReadFailures(*cursor, this);
    db::showReadFailures(*airCursor_, this);
    ui::OptionalMessage problem = openInsulationDb(database_);
    for (db::TableCursor* cursor : materialCursors_)
        if (!problem)
            problem = cursor->open(database_, "heat", {"名称", "导热系数", "容重", "最高使用温度"});
    if (!problem) problem = openAirTable(*airCursor_, database_);
    if (problem) ui::showMessage(this, qs(problem->title), qs(problem->text), ui::Icon::Warning);
}

ui::OptionalMessage HeatTransferWindow::writeMaterial(const NewMaterial& material) {
    ui::OptionalMessage refusal = addMaterial(insulationDbPath(), material);
    if (!refusal && materialsLoaded_) refreshMaterialLists();
    return refusal;
}

void HeatTransferWindow::bindLayerDisplays() {
    for (int k = 0; k < kLayerCount; ++k) {
        db::TableCursor& cursor = *materialCursors_[k];
        cursor.setIndex("ID");
        db::bindDisplay(cursor, QStringLiteral("名称"), layers_[k].name);
        db::bindDisplay(cursor, QStringLiteral("容重"), layers_[k].density);
        db::bindDisplay(cursor, QStringLiteral("最高使用温度"), layers_[k].maxTemperature);
        db::bindDisplay(cursor, QStringLiteral("导热系数"), layers_[k].conductivity);
    }
    const QStringList airFields = {QStringLiteral("热导率"), QStringLiteral("运动粘度"),
                                   QStringLiteral("普朗特准数")};
    for (int i = 0; i < 3; ++i) db::bindDisplay(*airCursor_, airFields[i], airDisplays_[i]);
}

HeatInput HeatTransferWindow::readInput() const {
    HeatInput input;
    input.location = static_cast<SurfaceLocation>(location_->currentIndex());
    input.innerTemperature = str(innerTemperature_->text());
    input.ambient = str(ambient_->currentText());
    for (int k = 0; k < kLayerCount; ++k)
        input.layers[k] = {str(layers_[k].conductivity->text()), str(layers_[k].thickness->text())};
    return input;
}

void HeatTransferWindow::calculate(bool convection) {
    const HeatInput input = readInput();
    ChartOutcome out;
    if (convection) {
        CursorAirTable air(*airCursor_);
        out = runConvectionMethod(input, state_, air);
    } else {
        out = runChartMethod(input, state_);
    }
    showMessages(out.messages);
    if (!out.result) return clearResults();
    state_ = out.state;
    showResults(*out.result);
    for (QLineEdit* edit : {qW_, hc_, hr_, radiationShare_}) edit->clear();
    markServiceLimits(serviceLimitWarnings(layerFaces(state_, *out.result), serviceLimits()));
    showRangeWarning(state_.t == 0 ? std::string() : chartRangeWarning(input.location, state_.t));
    keepForChart(*out.result);
}

// The two other methods run on the same lining for the table; with the input checked,
// none of their kept values comes into play, and none of their limits refuses it (the
// standard method's are narrower).
void HeatTransferWindow::calculateStandard() {
    StandardInput input;
    input.lining = readInput();
    input.emissivity = str(emissivity_->text());
    input.height = str(height_->text());
    input.length = str(length_->text());
    const StandardOutcome out = runStandardMethod(input, readAirRows(*airCursor_));
    showMessages(out.messages);
    if (!out.result) return clearResults();
    CursorAirTable air(*airCursor_);
    const ChartOutcome chart = runChartMethod(input.lining, {});
    const ChartOutcome convection = runConvectionMethod(input.lining, {}, air);
    state_ = chart.state;
    showStandardResults(*out.result);
    showComparison(compareMethods(*chart.result, *convection.result, *out.result));
}

void HeatTransferWindow::showMessages(const std::vector<ui::Message>& messages) {
    for (const ui::Message& m : messages)
        ui::showMessage(this, qs(m.title), qs(m.text), ui::Icon::Warning);
}

void HeatTransferWindow::showResults(const HeatLossResult& result) {
    const ShownResults shown = shownResults(result);
    for (int k = 0; k < kLayerCount - 1; ++k) interfaces_[k]->setText(qs(shown.interfaces[k]));
    tOut_->setText(qs(shown.tOut));
    q_->setText(qs(shown.q));
    qc_->setText(qs(shown.qc));
    iterations_->setText(qs(shown.iterations));
}

void HeatTransferWindow::showStandardResults(const StandardResult& result) {
    const ShownStandard shown = shownStandardResults(result);
    for (int k = 0; k < kLayerCount - 1; ++k) interfaces_[k]->setText(qs(shown.interfaces[k]));
    const QList<std::pair<QLineEdit*, std::string>> fields = {
        {tOut_, shown.tOut}, {q_, shown.q},
        {qc_, ""},           {iterations_, shown.iterations},
        {qW_, shown.qW},     {hc_, shown.hc},
        {hr_, shown.hr},     {radiationShare_, shown.radiationShare}};
    for (const auto& [edit, text] : fields) edit->setText(qs(text));
    markServiceLimits(serviceLimitWarnings(layerFaces(result), serviceLimits()));
    showRangeWarning({});
    HeatLossResult drawn;
    std::copy_n(result.coldFaces.begin(), kLayerCount - 1, drawn.interfaces.begin());
    drawn.tOut = result.tOut();
    drawn.q = result.qKcal();
    keepForChart(drawn);
}

void HeatTransferWindow::showComparison(const MethodComparison& table) {
    comparison_->setRowCount(static_cast<int>(table.rows.size()));
    QStringList captions;
    for (const std::string& row : table.rows) captions.append(qs(row));
    comparison_->setVerticalHeaderLabels(captions);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < comparison_->rowCount(); ++r) {
            auto* cell = new QTableWidgetItem(qs(table.columns[c][r]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            comparison_->setItem(r, c, cell);
        }
    fitComparison();
}

// Every row in sight and no more: the table is short, a scrolled comparison hides its
// point, and a taller window should not push the buttons below it down.
void HeatTransferWindow::fitComparison() {
    comparison_->resizeRowsToContents();
    int height =
        comparison_->horizontalHeader()->sizeHint().height() + 2 * comparison_->frameWidth();
    for (int r = 0; r < comparison_->rowCount(); ++r) height += comparison_->rowHeight(r);
    comparison_->setFixedHeight(height);
}

// A refused calculation leaves nothing that could pass for its result.
void HeatTransferWindow::clearResults() {
    for (QLineEdit* edit : interfaces_) edit->clear();
    for (QLineEdit* edit : {tOut_, q_, qc_, iterations_, qW_, hc_, hr_, radiationShare_})
        edit->clear();
    comparison_->setRowCount(0);
    fitComparison();
    markServiceLimits({});
    showRangeWarning({});
}

void HeatTransferWindow::showRangeWarning(const std::string& text) {
    rangeWarning_->setText(qs(text));
    rangeWarning_->setVisible(!text.empty());
}

std::array<std::string, kLayerCount> HeatTransferWindow::serviceLimits() const {
    std::array<std::string, kLayerCount> limits;
    for (int k = 0; k < kLayerCount; ++k) limits[k] = str(layers_[k].maxTemperature->text());
    return limits;
}

void HeatTransferWindow::markServiceLimits(const std::array<std::string, kLayerCount>& warnings) {
    for (int k = 0; k < kLayerCount; ++k) {
        const bool over = !warnings[k].empty();
        for (QLineEdit* edit : {layers_[k].name, layers_[k].maxTemperature}) {
            edit->setToolTip(qs(warnings[k]));
            edit->setStyleSheet(over ? QStringLiteral("color: red") : QString());
        }
    }
}

void HeatTransferWindow::keepForChart(const HeatLossResult& result) {
    lastResult_ = result;
    for (int k = 0; k < kLayerCount; ++k) lastNames_[k] = str(layers_[k].name->text());
    if (chart_) chart_->showProfile(temperatureProfile(state_, result, lastNames_));
}

QStringList HeatTransferWindow::materialNames() const {
    QStringList names;
    for (const std::string& name : materialCursors_[0]->readColumn("名称", kMaxListedMaterials))
        names.append(qs(name));
    return names;
}

void HeatTransferWindow::loadMaterials(bool announce) {
    for (LayerRow& row : layers_) row.materials->clear();
    db::TableCursor& first = *materialCursors_[0];
    first.setIndex("ID");
    first.moveFirst();
    const QStringList names = materialNames();
    for (LayerRow& row : layers_) {
        row.materials->addItems(names);
        row.materials->setCurrentIndex(-1);
    }
    first.moveFirst();
    materialsLoaded_ = true;
    if (announce)
        ui::showMessage(this, QStringLiteral("传热计算"),
                        QStringLiteral("数据库加载成功！,Marrowin！"));
}

// After 添加数据库 the lists gain the new name; every layer keeps the material it
// stands on and the name its box shows, so the next calculation reads the same lining.
void HeatTransferWindow::refreshMaterialLists() {
    const QStringList names = materialNames();
    for (LayerRow& row : layers_) {
        const QSignalBlocker quiet(row.materials);
        const QString shown = row.materials->currentText();
        const int chosen = row.materials->currentIndex();
        row.materials->clear();
        row.materials->addItems(names);
        row.materials->setCurrentIndex(chosen < 0 ? -1 : int(names.indexOf(shown)));
        row.materials->setEditText(shown);
    }
}

void HeatTransferWindow::chooseLayerMaterial(int k, const QString& name) {
    chooseMaterial(*materialCursors_[k], str(name));
}

void HeatTransferWindow::locationChosen(int index) {
    const std::string note = rangeNote(static_cast<SurfaceLocation>(index));
    if (!note.empty()) rangeNote_->setText(qs(note));
}

void HeatTransferWindow::showTemperatureDrop() {
    if (!lastResult_) {
        const ui::Message m = noCalculationYetMessage();
        ui::showMessage(this, qs(m.title), qs(m.text));
        return;
    }
    if (!chart_) chart_ = new TemperatureDropChart(this);
    chart_->showProfile(temperatureProfile(state_, *lastResult_, lastNames_));
    chart_->show();
    chart_->raise();
}

void HeatTransferWindow::showAddMaterial() {
    if (!addMaterial_) {
        addMaterial_ = new AddMaterialDialog(
            this, [this](const NewMaterial& material) { return writeMaterial(material); });
    }
    addMaterial_->show();
    addMaterial_->raise();
}

void HeatTransferWindow::showHelp() {
    if (!help_) {
        help_ = new QWidget(this, Qt::Window);
        help_->setObjectName(QStringLiteral("HeatHelp"));
        help_->setWindowTitle(QStringLiteral("传热计算帮助"));
        auto* text = new QPlainTextEdit(qs(methodHelpText()));
        text->setReadOnly(true);
        auto* layout = new QVBoxLayout(help_);
        layout->addWidget(text);
        help_->resize(640, 560);
        ui::closeOnEscape(help_);
    }
    help_->show();
    help_->raise();
}

void showHeatTransferWindow(QWidget* opener) {
    static HeatTransferWindow* window = nullptr;
    if (!window) window = new HeatTransferWindow;
    ui::showWindow(window, opener);
}

}  // namespace heat
