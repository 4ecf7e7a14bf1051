// Connects the material-list functions to the main window `Tolvane`, whose controls it
// finds by their object names:
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

namespace materiallist {

class MaterialListPanel;

class MainWindowLink : public QObject {
    Q_OBJECT

public:
    // The link of `window`, made on the first call; later calls return the same one.
    // REQUIRES: `window` has every control named above (a missing one is a programming
    // error and stops the program with its name).
    static MainWindowLink* attach(QMainWindow* window);

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
    explicit MainWindowLink(QMainWindow* window);
    void applyFill(const FillResult& fill);

    QMainWindow* window_;
    QComboBox* steelType_;
    std::array<QComboBox*, kTypeListCount> lists_;
    std::array<QLabel*, 3> rowLabels_;
    std::array<QLineEdit*, 3> rowFields_;
    QLineEdit* quantity_;
    QComboBox* material_;
    std::array<QWidget*, 4> boltHoleRows_;
    QLineEdit* holeDiameter_;
    QLineEdit* holeCount_;
    QLineEdit* unit_;
    QLineEdit* total_;
    MaterialListPanel* panel_;
    WeightState state_;
};

}  // namespace materiallist
