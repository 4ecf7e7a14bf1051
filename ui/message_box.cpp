#include "ui/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace ui {
namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information: return QMessageBox::Information;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Critical: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Window managers draw the title in a font of their own, often larger and bold, beside
// an icon and three buttons, and cut it short when the box is narrow. QMessageBox sizes
// itself from its layout in its show event, so a spacer as wide as that title bar holds
// it open.
void fitTitle(QMessageBox& box) {
    constexpr double kTitleFontScale = 1.25;
    constexpr int kFrameControls = 150;  // icon, minimise, maximise, close, margins
    const QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    const int width = int(kTitleFontScale *
                          QFontMetrics(titleFont).horizontalAdvance(box.windowTitle())) +
                      kFrameControls;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(QWidget* parent, const QString& title, const QString& text, Icon icon,
                Buttons buttons) override {
        QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
        QAbstractButton* openLog = nullptr;
        switch (buttons) {
            case Buttons::Ok:
                box.setStandardButtons(QMessageBox::Ok);
                box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
                break;
            case Buttons::OkCancel:
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
                box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
                break;
            case Buttons::YesNo:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
                box.button(QMessageBox::No)->setText(QStringLiteral("否"));
                break;
            case Buttons::OkOpenLog:
                box.setStandardButtons(QMessageBox::Ok);
                box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
                openLog = box.addButton(QStringLiteral("打开错误日志"), QMessageBox::ActionRole);
                break;
        }
        fitTitle(box);
        const int pressed = box.exec();
        if (openLog && box.clickedButton() == openLog) return Answer::OpenLog;
        switch (pressed) {
            case QMessageBox::Ok: return Answer::Ok;
            case QMessageBox::Yes: return Answer::Yes;
            case QMessageBox::No: return Answer::No;
            default: return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }
};

MessageBoxes* installed = nullptr;

}  // namespace

Answer showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons) {
    static QtMessageBoxes qtBoxes;
    return (installed ? installed : &qtBoxes)->show(parent, title, text, icon, buttons);
}

void setMessageBoxes(MessageBoxes* boxes) { installed = boxes; }

}  // namespace ui
