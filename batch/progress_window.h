// `cadmessage`: the progress window of the batch window. Its loading form is a bare
// title bar that says the program is busy; its processing form shows the number of
// the current drawing, the number of drawings, the drawing's path, the current status
// text, the drawings in the worker processes' hands, and the stop button 终止.
#pragma once

#include <QWidget>

class QLabel;

namespace batch {

class CadMessage : public QWidget {
    Q_OBJECT

public:
    CadMessage();

    // Caption "程序加载中 请稍候。。。。。", title bar only, 5000 twips wide, its left
    // edge at 0.3 and its top at 0.5 of the screen; shown at once.
    void showLoading();
    // Caption "程序正在处理中。。。。。", 1725 twips high, 0.8 of the screen wide at
    // 0.1 of the screen from its left and top; shown at once.
    void showProcessing();

    void showDrawing(int number, int count, const QString& path);
    void showStatus(const QString& text);
    // For each worker process the number of its drawing (0 while it waits) and its path.
    void showInHand(const QList<int>& numbers, const QStringList& paths);

Q_SIGNALS:
    // 终止 was pressed.
    void stopPressed();

private:
    QLabel* current_;  // Label4
    QLabel* total_;    // Label6
    QLabel* file_;     // Label2
    QLabel* status_;   // Label7
    QLabel* inHand_;   // Label8
};

}  // namespace batch
