// The 温降图 window: the temperature drop through the lining of the last calculation,
// temperature against depth from the inner surface, one line per layer named after its
// material (the chart "保温温降曲线").
#pragma once

#include <QWidget>
#include <vector>

#include "heat/temperature_profile.h"

class QChart;

namespace heat {

class TemperatureDropChart : public QWidget {
    Q_OBJECT
public:
    explicit TemperatureDropChart(QWidget* parent);

    // Replaces the lines by `segments`.
    void showProfile(const std::vector<ProfileSegment>& segments);

private:
    QChart* chart_;
};

}  // namespace heat
