// Connects the material-list functions to the main window `Tolvane`, whose controls the
// window hands over as it creates them:
// - 计算 (`Command1`) runs the weight calculation on the entries and writes 单重 and 总重;
// - 智能填充 (`fill`) runs smart fill on the clipboard's plain text;
// - 新建材料表, 打开材料表, 保存材料表 and 打印材料表 (`muufilenew`, `mnufileopen`,
//   `mnufilesave`, `mnufileprint`) work on a MaterialListPanel docked at the window's
//   right side (`MaterialListDock`), through the standard file and print dialogs.
// The link is a child of the window and holds the state the window keeps between
// calculations (unit weight, total weight, last mass per metre).
#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "materiallist/smart_fill.h"
#include "materiallist/window_entries.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;

namespace materiallist {

class MaterialListPanel;

// The main window's controls that the material-list functions read and write, by the
// object names the window gives them.
struct MainWindowControls {
    QComboBox* steelType = nullptr;                  // Combo1
    std::array<QComboBox*, kTypeListCount> lists{};  // 钢板, Combo2 … Combo7
    std::array<QLabel*, 3> rowLabels{};              // Label2, Label3, Label4
    std::array<QLineEdit*, 3> rowFields{};           // Text1, Text2, Text3
    QLineEdit* quantity = nullptr;                   // Text4
    QComboBox* material = nullptr;                   // Combo8
    QLabel* holeDiameterLabel = nullptr;             // Label5
    QLineEdit* holeDiameter = nullptr;               // Text5
    QLabel* holeCountLabel = nullptr;                // Label7
    QLineEdit* holeCount = nullptr;                  // Text8
    QLineEdit* unitWeight = nullptr;                 // Text7
    QLineEdit* totalWeight = nullptr;                // Text9
    QPushButton* calculate = nullptr;                // Command1
    QAction* fill = nullptr;                         // fill
    QAction* newList = nullptr;                      // muufilenew
    QAction* openList = nullptr;                     // mnufileopen
    QAction* saveList = nullptr;                     // mnufilesave
    QAction* printList = nullptr;                    // mnufileprint
};

class MainWindowLink : public QObject {
    Q_OBJECT

public:
    // Makes the link of `window` over its `controls`.
    // REQUIRES: every pointer of `controls` is set; `window` has no link yet.
    static MainWindowLink* attach(QMainWindow* window, const MainWindowControls& controls);
    // The link of `window`, or nullptr when it has none.
    static MainWindowLink* of(const QMainWindow* window);

    MaterialListPanel* panel() const { return panel_; }
    const WeightState& state() const { return state_; }

    // The window's entries as they are now, with the kept calculation state.
    WindowEntries entries() const;

public slots:
    void calculate();
    void fillFromClipboard();
    void fillFrom(const QString& description);
    void newList();
    void openList();
    void saveList();
    void printList();

private:
    MainWindowLink(QMainWindow* window, const MainWindowControls& controls);
    void applyFill(const FillResult& fill);

    QMainWindow* window_;
    MainWindowControls c_;
    MaterialListPanel* panel_;
    WeightState state_;
};

}  // namespace materiallist
