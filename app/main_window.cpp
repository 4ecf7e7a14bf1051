#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "app/external_programs.h"
#include "app/keypad.h"
#include "batch/window.h"
#include "beams/skid_beam_windows.h"
#include "catalogue/catalogue.h"
#include "grades/grade_windows.h"
#include "heat/heat_transfer_window.h"
#include "materiallist/main_window_link.h"
#include "materiallist/steel_type_rows.h"
#include "standardparts/standard_window.h"
#include "ui/fonts.h"
#include "ui/message_box.h"
#include "ui/result_box.h"

namespace app {
namespace {

QRect twipsRect(int l, int t, int w, int h) {
    return QRect(ui::twips(l), ui::twips(t), ui::twips(w), ui::twips(h));
}

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

Tolvane::Tolvane(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Tolvane"));
    setWindowTitle(QStringLiteral("Tolvane"));
    createControls();
    createKeypad();
    createMenus();
    load();
    materiallist::MainWindowLink::attach(this, linked_);
    centralWidget()->setFixedSize(ui::twips(5370), ui::twips(3045));
    // The window itself takes the first focus, so no field is current until the user
    // (or smart fill) picks one.
    centralWidget()->setFocusPolicy(Qt::ClickFocus);
    centralWidget()->setFocus();
}

QLabel* Tolvane::label(const char* name, const QString& caption, int l, int t, int w, int h) {
    auto* lbl = new QLabel(caption, centralWidget());
    lbl->setObjectName(QString::fromUtf8(name));
    lbl->setGeometry(twipsRect(l, t, w, h));
    return lbl;
}

QLineEdit* Tolvane::field(const char* name, int l, int t, int w, int h) {
    auto* edit = new QLineEdit(centralWidget());
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(twipsRect(l, t, w, h));
    return edit;
}

QComboBox* Tolvane::list(const char* name, const QString& prompt, int l, int t, int w, int h) {
    auto* combo = new QComboBox(centralWidget());
    combo->setObjectName(QString::fromUtf8(name));
    combo->setPlaceholderText(prompt);
    combo->setGeometry(twipsRect(l, t, w, h));
    return combo;
}

void Tolvane::createControls() {
    setCentralWidget(new QWidget(this));

    label("Label1", QStringLiteral("型号："), 0, 120, 690, 210);
    steelTypes_ = list("Combo1", QStringLiteral("钢材类型"), 600, 0, 2055, 330);
    connect(steelTypes_, &QComboBox::currentIndexChanged, this, &Tolvane::steelTypeChanged);

    const char* listNames[] = {"钢板", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7"};
    const char* prompts[] = {"钢板", "钢管", "槽钢", "工字钢", "H型钢", "等边角铁", "不等边角铁"};
    for (int i = 0; i < 7; ++i) {
        QComboBox* c = list(listNames[i], QString::fromUtf8(prompts[i]), 2760, 0, 2535, 300);
        c->hide();
        typeLists_.append(c);
        linked_.lists[static_cast<size_t>(i)] = c;
    }

    const char* rowLabelNames[] = {"Label2", "Label3", "Label4"};
    const char* rowFieldNames[] = {"Text1", "Text2", "Text3"};
    const char* rowCaptions[] = {"长度：", "宽度：", "厚度："};
    for (int i = 0; i < 3; ++i) {
        rowLabels_.append(label(rowLabelNames[i], QString::fromUtf8(rowCaptions[i]), 0,
                                480 + 360 * i, 690, 210));
        rowFields_.append(field(rowFieldNames[i], 600, 360 + 360 * i, 975, 300));
        rowLabels_.last()->hide();
        rowFields_.last()->hide();
        linked_.rowLabels[static_cast<size_t>(i)] = rowLabels_.last();
        linked_.rowFields[static_cast<size_t>(i)] = rowFields_.last();
    }
    connect(rowFields_[0], &QLineEdit::textChanged, this,
            [this] { currentField_ = rowFields_[0]; });

    label("Label9", QStringLiteral("数量："), 0, 1560, 690, 210);
    QLineEdit* quantity = field("Text4", 600, 1440, 975, 300);
    quantity->setText(QStringLiteral("1"));
    linked_.quantity = quantity;

    label("Label16", QStringLiteral("材料:"), 2280, 480, 585, 210);
    material_ = list("Combo8", QStringLiteral("请选择"), 3000, 360, 2295, 330);
    linked_.steelType = steelTypes_;
    linked_.material = material_;

    linked_.holeDiameterLabel =
        label("Label5", QStringLiteral("螺丝孔直径:"), 1680, 840, 1215, 210);
    linked_.holeDiameter = field("Text5", 3000, 720, 1335, 315);
    linked_.holeCountLabel = label("Label7", QStringLiteral("螺丝孔数量:"), 1680, 1200, 1335, 210);
    linked_.holeCount = field("Text8", 3000, 1080, 1335, 315);
    boltHoleRow_ = {linked_.holeDiameterLabel, linked_.holeDiameter, linked_.holeCountLabel,
                    linked_.holeCount};
    for (QWidget* w : boltHoleRow_) w->hide();

    auto* rule = new QFrame(centralWidget());
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setGeometry(twipsRect(0, 1800 - 15, 9900, 30));

    auto* calculate = new QPushButton(QStringLiteral("计算"), centralWidget());
    calculate->setObjectName(QStringLiteral("Command1"));
    calculate->setGeometry(twipsRect(0, 1850, 1095, 375));
    linked_.calculate = calculate;

    label("Label6", QStringLiteral("单重："), 1200, 1920, 690, 210);
    QLineEdit* unitWeight = field("Text7", 1920, 1850, 1200, 315);
    label("Label10", QStringLiteral("总重："), 3360, 1920, 690, 210);
    QLineEdit* totalWeight = field("Text9", 4080, 1850, 1200, 315);
    ui::makeResultBox(unitWeight);
    ui::makeResultBox(totalWeight);
    linked_.unitWeight = unitWeight;
    linked_.totalWeight = totalWeight;

    auto* calculator = new QPushButton(QStringLiteral("计算器"), centralWidget());
    calculator->setObjectName(QStringLiteral("Command8"));
    calculator->setGeometry(twipsRect(4440, 2400, 855, 585));
    connect(calculator, &QPushButton::clicked, this, [] { startCalculator(); });

    QLineEdit* spare6 = field("Text6", 0, 0, 0, 0);
    spare6->setText(QStringLiteral("Text6"));
    spare6->hide();
    QLineEdit* spare11 = field("Text11", 0, 0, 0, 0);
    spare11->setText(QStringLiteral("Text11"));
    spare11->hide();

    for (QWidget* w : QList<QWidget*>{rowFields_[0], rowFields_[1], rowFields_[2], quantity,
                                      unitWeight, totalWeight, spare6, spare11, steelTypes_,
                                      typeLists_[1], typeLists_[2], typeLists_[3],
                                      typeLists_[4], typeLists_[0]})
        trackCurrentField(w);
}

void Tolvane::createKeypad() {
    const QStringList captions = keypadCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        auto* key = new QPushButton(captions[i], centralWidget());
        key->setObjectName(QStringLiteral("Keypad(%1)").arg(i));
        key->setFocusPolicy(Qt::NoFocus);  // pressing a key must not move the current field
        key->setGeometry(twipsRect(480 * (i % 9), i < 9 ? 2280 : 2640, 495, 375));
        connect(key, &QPushButton::clicked, this, &Tolvane::keypadPressed);
    }
}

void Tolvane::createMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromUtf8(name));
        a->setShortcut(shortcut);
        return a;
    };
    auto topMenu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromUtf8(name));
        return m;
    };

    QMenu* file = topMenu("File", QStringLiteral("文件"));
    linked_.newList = action(file, "muufilenew", QStringLiteral("新建材料表"),
                             QKeySequence(Qt::CTRL | Qt::Key_N));
    linked_.openList = action(file, "mnufileopen", QStringLiteral("打开材料表"),
                              QKeySequence(Qt::CTRL | Qt::Key_O));
    linked_.saveList = action(file, "mnufilesave", QStringLiteral("保存材料表"),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    linked_.printList = action(file, "mnufileprint", QStringLiteral("打印材料表"),
                               QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(action(file, "mnufilequit", QStringLiteral("退出系统"),
                   QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &Tolvane::quit);

    QMenu* grades = topMenu("s_code", QStringLiteral("世界钢号"));
    connect(action(grades, "s_find_china", QStringLiteral("国内钢号成分查寻")), &QAction::triggered,
            this, [this] { grades::showGradeQueryWindow(this); });
    connect(action(grades, "s_change", QStringLiteral("各国钢号精确转换")), &QAction::triggered,
            this, [this] { grades::showGradeConversionWindow(this); });
    connect(action(grades, "s_standard", QStringLiteral("标准件类型")), &QAction::triggered, this,
            [this] { standardparts::showStandardWindow(this); });

    QMenu* calc = topMenu("cal", QStringLiteral("计算"));
    connect(action(calc, "heat_cal", QStringLiteral("传热计算")), &QAction::triggered, this,
            [this] { heat::showHeatTransferWindow(this); });
    connect(action(calc, "water_cold_beam", QStringLiteral("水冷梁计算")), &QAction::triggered,
            this, [this] { beams::showRowCountChooser(this); });

    QMenu* cad = topMenu("CAD", QStringLiteral("CAD功能"));
    connect(action(cad, "BATCHPLOT", QStringLiteral("批量打印")), &QAction::triggered, this,
            [] { batch::showBatchWindow(); });

    QMenu* help = topMenu("mnuhelp", QStringLiteral("帮助"));
    connect(action(help, "mnuhelphelp", QStringLiteral("帮助信息"),
                   QKeySequence(Qt::CTRL | Qt::Key_H)),
            &QAction::triggered, this, [this] { showHelpText(this); });
    connect(action(help, "mnuhelpinfo", QStringLiteral("版本信息"),
                   QKeySequence(Qt::CTRL | Qt::Key_I)),
            &QAction::triggered, this, &Tolvane::showVersion);

    QAction* fill = menuBar()->addAction(QStringLiteral("智能填充"));
    fill->setObjectName(QStringLiteral("fill"));
    linked_.fill = fill;
    QAction* quitAction = menuBar()->addAction(QStringLiteral("退出"));
    quitAction->setObjectName(QStringLiteral("quit"));
    connect(quitAction, &QAction::triggered, this, &Tolvane::quit);
}

void Tolvane::load() {
    for (std::string_view t : catalogue::steelTypeTexts()) steelTypes_->addItem(qs(t));
    steelTypes_->setCurrentIndex(-1);
    for (std::string_view m : catalogue::plateAndPipeMaterialTexts()) {
        typeLists_[0]->addItem(qs(m));
        typeLists_[1]->addItem(qs(m));
    }
    for (int f = 0; f < catalogue::kSectionFamilyCount; ++f) {
        QComboBox* c = typeLists_[2 + f];
        for (const catalogue::SteelSection& s :
             catalogue::sections(static_cast<catalogue::SectionFamily>(f)))
            c->addItem(qs(s.designation));
        c->setCurrentIndex(-1);
    }
    typeLists_[0]->setCurrentIndex(-1);
    typeLists_[1]->setCurrentIndex(-1);
    for (std::string_view g : catalogue::materialGradeTexts()) material_->addItem(qs(g));
    material_->setCurrentIndex(catalogue::kDefaultMaterialGrade);
}

void Tolvane::steelTypeChanged(int index) {
    const materiallist::TypeRows rows = materiallist::rowsForType(index);
    if (!rows.changesRows) return;
    for (int i = 0; i < typeLists_.size(); ++i) typeLists_[i]->setVisible(rows.list == i);
    for (int r = 0; r < 3; ++r) {
        rowLabels_[r]->setVisible(rows.rows[r].visible);
        rowFields_[r]->setVisible(rows.rows[r].visible);
        if (rows.rows[r].visible) rowLabels_[r]->setText(qs(rows.rows[r].caption));
    }
    for (QWidget* w : boltHoleRow_) w->setVisible(rows.boltHoles);
}

void Tolvane::trackCurrentField(QWidget* w) {
    trackedFields_.append(w);
    w->installEventFilter(this);
}

bool Tolvane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (trackedFields_.contains(w)) currentField_ = w;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tolvane::keypadPressed() {
    auto* edit = qobject_cast<QLineEdit*>(currentField_.data());
    if (!edit) return;  // no current field, or a selection list
    edit->setText(keypadEdit(edit->text(), qobject_cast<QPushButton*>(sender())->text()));
}

void Tolvane::showVersion() {
    ui::showMessage(this, QStringLiteral("版本信息"),
                    QStringLiteral("Tolvane 机械设计工具箱\n版本 %1").arg(QStringLiteral(TOLVANE_VERSION)),
                    ui::Icon::Information, ui::Buttons::Ok);
}

void Tolvane::quit() {
    QApplication::closeAllWindows();
    QApplication::quit();
}

void Tolvane::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

}  // namespace app
