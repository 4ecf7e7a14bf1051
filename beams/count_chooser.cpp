#include "beams/count_chooser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/keyboard.h"

namespace beams {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

CountChooser::CountChooser(BeamFamily family) {
    const ChooserTexts& t = chooserTexts(family);
    setObjectName(text(t.formName));
    setWindowTitle(text(t.caption));

    auto* title = named(new QLabel(text(t.title)), "Label1");
    title->setAlignment(Qt::AlignCenter);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    title->setFont(f);

    combo_ = named(new QComboBox, "Combo1");
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : sortedAsText(t.items)) combo_->addItem(text(item));
    combo_->setCurrentIndex(-1);
    combo_->setEditText(QString());
    // A pick from the list puts the item's text into the box without the user typing;
    // typed text stays typed even when the box later selects the item it matches
    // (it does so when its editing ends, e.g. on the click of 下一窗口).
    connect(combo_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { typed_ = text; });
    connect(combo_->lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        if (typed_ != text) typed_.reset();
    });

    auto* next = named(new QPushButton(QStringLiteral("下一窗口")), "Command1");
    auto* second = named(new QPushButton(text(t.secondButton)), "Command2");
    connect(next, &QPushButton::clicked, this, &CountChooser::next);
    connect(second, &QPushButton::clicked, this, &CountChooser::secondButtonClicked);
    ui::pressOnEnter(this, next);
    ui::closeOnEscape(this);

    auto* grid = new QGridLayout;
    grid->addWidget(named(new QLabel(text(t.countLabel)), "Label2"), 0, 0);
    grid->addWidget(combo_, 0, 1);
    grid->addWidget(next, 1, 0);
    grid->addWidget(second, 1, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(title);
    outer->addSpacing(20);
    outer->addLayout(grid);
    outer->setContentsMargins(30, 20, 30, 20);
}

void CountChooser::next() {
    if (typed_ || combo_->currentIndex() < 0) return;
    const std::string item = combo_->itemText(combo_->currentIndex()).toStdString();
    if (const auto n = chosenCount(item)) emit countChosen(*n);
}

}  // namespace beams
