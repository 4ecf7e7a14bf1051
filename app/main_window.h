// `Tolvane`: the main window and material-list calculator. It holds the steel type
// and designation lists, the dimension rows, the keypad and the menu from which every
// other window is opened. Closing it ends the program.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include "materiallist/main_window_link.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class Tolvane : public QMainWindow {
    Q_OBJECT

public:
    explicit Tolvane(QWidget* parent = nullptr);

    // The control that the keypad edits: the last of the tracked fields and lists to
    // receive the focus (nullptr until one has).
    QWidget* currentField() const { return currentField_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void steelTypeChanged(int index);
    void keypadPressed();
    void showVersion();
    void quit();

private:
    void createControls();
    void createKeypad();
    void createMenus();
    void load();
    void trackCurrentField(QWidget* w);

    QLabel* label(const char* name, const QString& caption, int l, int t, int w, int h);
    QLineEdit* field(const char* name, int l, int t, int w, int h);
    QComboBox* list(const char* name, const QString& prompt, int l, int t, int w, int h);

    QComboBox* steelTypes_ = nullptr;          // Combo1
    QList<QComboBox*> typeLists_;              // 钢板, Combo2 … Combo7
    QList<QLabel*> rowLabels_;                 // Label2, Label3, Label4
    QList<QLineEdit*> rowFields_;              // Text1, Text2, Text3
    QList<QWidget*> boltHoleRow_;              // Label5, Text5, Label7, Text8
    QComboBox* material_ = nullptr;            // Combo8
    QList<QWidget*> trackedFields_;            // controls that can become the current field
    QPointer<QWidget> currentField_;
    materiallist::MainWindowControls linked_;  // what the material-list functions work on
};

}  // namespace app
