// The one way windows show message boxes. The application shows QMessageBox; tests
// install a MessageRecorder that records every box and returns scripted answers, so
// no test ever blocks on a modal box.
#pragma once

#include <QString>

class QWidget;

namespace ui {

enum class Icon { None, Information, Warning, Critical, Question };
// OkOpenLog: 确定 and 打开错误日志, the latter answering OpenLog.
enum class Buttons { Ok, OkCancel, YesNo, OkOpenLog };
enum class Answer { Ok, Cancel, Yes, No, OpenLog };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(QWidget* parent, const QString& title, const QString& text, Icon icon,
                        Buttons buttons) = 0;
};

// Shows a box through the installed MessageBoxes (QMessageBox unless a test installed
// a recorder) and returns the button pressed. A QMessageBox is made wide enough for its
// whole title beside the window frame's icon and buttons.
Answer showMessage(QWidget* parent, const QString& title, const QString& text,
                   Icon icon = Icon::Information, Buttons buttons = Buttons::Ok);

// Installs `boxes` for every later showMessage; nullptr restores QMessageBox.
// The caller keeps ownership.
void setMessageBoxes(MessageBoxes* boxes);

}  // namespace ui
