// The row window for a slab on N rows of skid beams (Form2 … Form9): distances,
// slab thickness, slab length and span in; the moment in the slab over every row and
// the load on one span of every row out (load q = thickness × 0.00785 × span).
#pragma once

#include "beams/beam_window.h"

namespace beams {

class RowWindow : public BeamWindow {
    Q_OBJECT
public:
    explicit RowWindow(int n);

    // The force texts (Text4) of the last successful calculation, empty before the
    // first; 重新赋值 does not forget them. The column windows take a row's
    // calculated load from here.
    const std::vector<std::string>& lastForces() const { return lastForces_; }

signals:
    void compareRequested();  // 结果比较
    void backRequested();     // 返回

protected:
    void calculate() override;
    void reassign() override;

private:
    std::vector<std::string> lastForces_;
};

}  // namespace beams
