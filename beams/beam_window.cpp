#include "beams/beam_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "beams/moment_diagram_window.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/result_box.h"
#include "ui/window_placement.h"

namespace beams {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QString indexed(const char* name, int k) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(k);
}

QLabel* label(const QString& name, const QString& text) {
    auto* l = new QLabel(text);
    l->setObjectName(name);
    return l;
}

QLabel* heading(const QString& name, const QString& text) {
    QLabel* l = label(name, text);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 3);
    l->setFont(f);
    return l;
}

// The order of the Text2 boxes on screen: the column windows show the dead weight
// right after the row key.
QList<int> inputOrder(BeamFamily family) {
    return family == BeamFamily::Row ? QList<int>{0, 1, 2} : QList<int>{0, 3, 1, 2};
}

// Distances stand in one column, or two when there are seven or more of them.
constexpr int kDistancesPerColumn = 6;

}  // namespace

BeamWindow::BeamWindow(BeamFamily family, int n, const QList<ButtonSpec>& buttons)
    : n_(n), pattern_(resultPattern(family, n)) {
    setObjectName(qs(formName(family, n)));
    setWindowTitle(qs(caption(family, n)));
    buildLayout(family, buttons);
    connect(button("Command1"), &QPushButton::clicked, this, [this] { calculate(); });
    connect(button("Command3"), &QPushButton::clicked, this, [this] { reassign(); });
    button("Command6")->setEnabled(false);  // until a calculation has a diagram
    connect(button("Command6"), &QPushButton::clicked, this, &BeamWindow::showDiagram);
    ui::pressOnEnter(this, button("Command1"));
    ui::closeOnEscape(this);
}

QLineEdit* BeamWindow::addBox(const QString& name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setFixedWidth(100);
    return box;
}

void BeamWindow::buildLayout(BeamFamily family, const QList<ButtonSpec>& buttons) {
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(heading("Label3", qs(title(family, n_))));

    auto* inputs = new QGridLayout;
    for (int k = 0; k <= n_; ++k) {
        text1_.append(addBox(indexed("Text1", k)));
        const int column = k < kDistancesPerColumn ? 0 : 2;
        const int row = k % kDistancesPerColumn;
        inputs->addWidget(label(indexed("Label1", k), qs(distanceLabel(n_, k))), row, column);
        inputs->addWidget(text1_.last(), row, column + 1);
    }
    const std::vector<std::string> inputNames = inputLabels(family);
    for (size_t i = 0; i < inputNames.size(); ++i) text2_.append(addBox(indexed("Text2", i)));
    int row = 0;
    for (int i : inputOrder(family)) {
        inputs->addWidget(label(indexed("Label2", i), qs(inputNames[i])), row, 4);
        inputs->addWidget(text2_[i], row++, 5);
    }
    if (family == BeamFamily::Column) {
        rowLoad_ = addBox(QStringLiteral("Text5"));
        rowLoad_->setReadOnly(true);
        rowLoad_->setFocusPolicy(Qt::NoFocus);
        inputs->addWidget(label(QStringLiteral("Label7"), qs(rowLoadLabel())), 0, 6);
        inputs->addWidget(rowLoad_, 0, 7);
    }
    inputs->setHorizontalSpacing(14);
    inputs->setColumnMinimumWidth(4, 40);
    outer->addLayout(inputs);

    outer->addWidget(heading("Label4", qs(resultHeading())));
    auto* results = new QGridLayout;
    for (int k = 1; k <= n_; ++k) {
        text3_.append(addBox(indexed("Text3", k - 1)));
        text4_.append(addBox(indexed("Text4", k - 1)));
        ui::makeResultBox(text3_.last());
        ui::makeResultBox(text4_.last());
        results->addWidget(label(indexed("Label5", k - 1), qs(momentLabel(k))), k, 1);
        results->addWidget(text3_.last(), k, 2);
        results->addWidget(label(indexed("Label6", k - 1), qs(forceLabel(k))), k, 4);
        results->addWidget(text4_.last(), k, 5);
    }
    // Moments and forces stay beside their labels, the pair centred in the window.
    results->setColumnStretch(0, 1);
    results->setColumnMinimumWidth(3, 40);
    results->setColumnStretch(6, 1);
    outer->addLayout(results);

    auto* row_ = new QHBoxLayout;
    QList<ButtonSpec> all{{"Command1", QStringLiteral("开始计算")},
                          {"Command3", QStringLiteral("重新赋值")}};
    all.append(buttons);
    all.append({"Command6", QStringLiteral("弯矩图")});
    for (const ButtonSpec& b : all) {
        auto* push = new QPushButton(b.text);
        push->setObjectName(b.name);
        row_->addWidget(push);
    }
    outer->addLayout(row_);
    if (family == BeamFamily::Column) {
        status_ = label(QStringLiteral("StatusLine"), QString());
        status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        outer->addWidget(status_);
    }
}

QPushButton* BeamWindow::button(const QString& name) const {
    return findChild<QPushButton*>(name, Qt::FindDirectChildrenOnly);
}

std::vector<std::string> BeamWindow::distanceTexts() const {
    std::vector<std::string> texts;
    for (const QLineEdit* box : text1_) texts.push_back(box->text().toStdString());
    return texts;
}

std::vector<std::string> BeamWindow::inputTexts() const {
    std::vector<std::string> texts;
    for (const QLineEdit* box : text2_) texts.push_back(box->text().toStdString());
    return texts;
}

bool BeamWindow::goOnAfterMismatch(const ui::Message& message) {
    return ui::showMessage(this, qs(message.title), qs(message.text), ui::Icon::Information,
                           ui::Buttons::OkCancel) == ui::Answer::Cancel;
}

void BeamWindow::showOutcome(const CalculationOutcome& outcome) {
    if (outcome.results) {
        for (int k = 0; k < n_; ++k) {
            text3_[k]->setText(qs(outcome.results->moments[k]));
            text4_[k]->setText(qs(outcome.results->forces[k]));
        }
    }
    if (outcome.diagram) {
        diagram_ = outcome.diagram;
        button("Command6")->setEnabled(true);
        if (diagramWindow_) diagramWindow_->setDiagram(*diagram_, pattern_);
    }
    for (const auto& message : {outcome.refusal, outcome.reportFailure})
        if (message) ui::showMessage(this, qs(message->title), qs(message->text));
}

void BeamWindow::showDiagram() {
    if (!diagram_) return;
    if (!diagramWindow_) diagramWindow_ = new MomentDiagramWindow(this);
    diagramWindow_->setDiagram(*diagram_, pattern_);
    ui::showWindow(diagramWindow_, this);
}

void BeamWindow::blankBoxes(int kept) {
    for (const QList<QLineEdit*>* group : {&text1_, &text2_, &text3_, &text4_})
        for (QLineEdit* box : *group)
            if (group != &text2_ || text2_.indexOf(box) != kept) box->setText(QStringLiteral(" "));
    showRowLoad(QString());
}

void BeamWindow::showRowLoad(const QString& text) {
    if (rowLoad_) rowLoad_->setText(text);
}

void BeamWindow::showStatus(const QString& text) {
    if (status_) status_->setText(text);
}

}  // namespace beams
