// What the row windows (Form2 … Form9) and the column windows (Form22 … Form29) have
// in common: the boxes and labels for N supports, their arrangement, the button row,
// and the steps around a calculation (the length question, writing the results,
// showing a refusal). Enter presses 开始计算 and Esc closes the window. The two
// families add their own buttons' behaviour.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "beams/beam_calculation.h"
#include "beams/beam_texts.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace beams {

class MomentDiagramWindow;

class BeamWindow : public QWidget {
    Q_OBJECT
public:
    int count() const { return n_; }

protected:
    struct ButtonSpec {
        QString name;  // design name, e.g. "Command4"
        QString text;
    };
    // Builds the window for `n` supports; `buttons` follow 开始计算 (Command1) and
    // 重新赋值 (Command3) along the bottom, and 弯矩图 (Command6) follows them: it opens
    // the diagram of the last calculation, which each later calculation redraws.
    BeamWindow(BeamFamily family, int n, const QList<ButtonSpec>& buttons);

    std::vector<std::string> distanceTexts() const;  // Text1(0 … N)
    std::vector<std::string> inputTexts() const;     // Text2(0 …)
    // Asks the length question; true goes on (Cancel).
    bool goOnAfterMismatch(const ui::Message& message);
    // Writes the results and the diagram and shows the refusal or the report failure,
    // if any.
    void showOutcome(const CalculationOutcome& outcome);
    // Sets every box to a single blank, except Text2(kept) when kept >= 0; empties the
    // load display.
    void blankBoxes(int kept);
    // Column windows: the read-only display of the load P the results include (Text5,
    // labelled 计算负荷(kg) by Label7, beside the row key); empty for an empty P.
    void showRowLoad(const QString& text);
    // Column windows: the status line under the buttons (StatusLine), what became of
    // the last calculation beyond its results, such as where its report went.
    void showStatus(const QString& text);
    QPushButton* button(const QString& name) const;

    virtual void calculate() = 0;
    virtual void reassign() = 0;

private:
    QLineEdit* addBox(const QString& name);
    void buildLayout(BeamFamily family, const QList<ButtonSpec>& buttons);
    void showDiagram();

    const int n_;
    QList<QLineEdit*> text1_, text2_, text3_, text4_;
    QLineEdit* rowLoad_ = nullptr;  // Text5, column windows only
    QLabel* status_ = nullptr;      // StatusLine, column windows only
    const std::string pattern_;     // of the result boxes
    std::optional<MomentDiagram> diagram_;
    MomentDiagramWindow* diagramWindow_ = nullptr;  // made on first use
};

}  // namespace beams
