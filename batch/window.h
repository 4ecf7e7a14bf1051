// `Form10` "批量操作": the batch window. It collects the drawing list, the operations to
// run, the print settings and the attribute set-up, and runs the batch over the list
// with the progress window `cadmessage`. The window owns the drawing engine session
// for as long as it lives; it is closed (and destroyed) by 退出, by its close button or
// Esc, by 终止 and at the end of a run. Its set-up (the drawing list, the operations,
// the print settings, the attribute set-up and the file-name template) is kept in the
// settings file when it closes and when a run starts, and shown again by the next
// batch window, in this session or a later one. A run ends with a message that says
// how many drawings had errors and where the error log is, and offers to open it.
#pragma once

#include <QList>
#include <QSet>
#include <QWidget>
#include <memory>

#include "drawing/document.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSettings;

namespace batch {

class AttributePanel;
struct BatchSettings;
class BackgroundRun;
class CadMessage;
class PrintFrame;

class Form10 : public QWidget {
    Q_OBJECT

public:
    Form10();
    ~Form10() override;

    // 添加单目录图纸 with `chosenFile` picked in the open-file dialog: the drawings of
    // its folder join the list.
    void addSingleFolder(const QString& chosenFile);
    // 添加多目录图纸 with `folder` picked in the folder browser: the list becomes the
    // drawings of the folder tree.
    void addfilefolder(const QString& folder);
    // Shows the window, or only raises the progress window while a run is going.
    void showFromMenu();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createListCommands();
    void createOperations();
    void createRunCommands();
    void operationToggled();
    void printToggled(bool ticked);
    void extractFileNames();
    void startRun();
    bool checkBeforeRun();
    BatchSettings settings() const;
    void runFinished(int taken, bool stopped);
    void saveSettings() const;
    void restoreSettings();
    void stopRun();
    void setDrawings(const std::vector<std::string>& drawings);
    std::vector<std::string> drawings() const;
    QCheckBox* check(int number) const { return checks_[number - 1]; }

    drawing::AcadApplication acad_;
    std::unique_ptr<CadMessage> progress_;  // a window of its own
    BackgroundRun* runner_;
    AttributePanel* panel_;
    PrintFrame* print_;
    QComboBox* list_;           // Combo1
    QPushButton* names_;        // Command5
    QPushButton* start_;        // Command2
    QList<QCheckBox*> checks_;  // Check1 … Check12
    bool logFailed_ = false;
    int current_ = 0;     // the drawing the run is at
    int done_ = 0;        // drawings the run took to their end
    QSet<int> failed_;    // drawings with an error-log entry
};

// The main menu's 批量打印: creates the batch window when none is open and shows it.
void showBatchWindow();

}  // namespace batch
