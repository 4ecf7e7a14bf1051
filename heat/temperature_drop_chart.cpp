#include "heat/temperature_drop_chart.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "ui/keyboard.h"

namespace heat {

TemperatureDropChart::TemperatureDropChart(QWidget* parent)
    : QWidget(parent, Qt::Window), chart_(new QChart) {
    setObjectName(QStringLiteral("TemperatureDropChart"));
    setWindowTitle(QStringLiteral("温降图"));
    chart_->setTitle(QStringLiteral("保温温降曲线"));
    auto* view = new QChartView(chart_);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view);
    resize(720, 480);
    ui::closeOnEscape(this);
}

void TemperatureDropChart::showProfile(const std::vector<ProfileSegment>& segments) {
    chart_->removeAllSeries();
    for (QAbstractAxis* axis : chart_->axes()) chart_->removeAxis(axis);
    auto* depth = new QValueAxis;
    depth->setTitleText(QStringLiteral("距内表面深度（毫米）"));
    depth->setLabelFormat(QStringLiteral("%.0f"));
    auto* temperature = new QValueAxis;
    temperature->setTitleText(QStringLiteral("温度（°C）"));
    temperature->setLabelFormat(QStringLiteral("%.0f"));
    chart_->addAxis(depth, Qt::AlignBottom);
    chart_->addAxis(temperature, Qt::AlignLeft);

    double maxDepth = 1, low = 0, high = 1;
    for (size_t i = 0; i < segments.size(); ++i) {
        const ProfileSegment& s = segments[i];
        auto* line = new QLineSeries;
        line->setName(QStringLiteral("%1 %2").arg(i + 1).arg(QString::fromStdString(s.name)));
        line->append(s.fromDepth, s.fromTemperature);
        line->append(s.toDepth, s.toTemperature);
        line->setPointsVisible(true);
        chart_->addSeries(line);
        line->attachAxis(depth);
        line->attachAxis(temperature);
        maxDepth = std::max(maxDepth, s.toDepth);
        low = std::min({low, s.fromTemperature, s.toTemperature});
        high = std::max({high, s.fromTemperature, s.toTemperature});
    }
    depth->setRange(0, maxDepth);
    depth->applyNiceNumbers();
    temperature->setRange(low, high);
    temperature->applyNiceNumbers();
}

}  // namespace heat
