// HeatTransferWindow (传热计算): the inputs of the lining heat-loss calculation, each
// layer's material picked from insulation.db through the layer's own cursor, the three
// calculations and their results. 标准计算 also fills a table with the three methods side
// by side for the same lining. Every method marks red each layer whose hot face it finds
// above the material's 最高使用温度, and the chart-based two say beside their results when
// T lies outside the charts' range. 添加数据库 adds a material to the lists without
// changing any layer. The window keeps what the last calculation read (T,
// thicknesses, conductivities) so that a field that is not a number leaves its previous
// value, and the last results for the 温降图 chart.
//
// Control names: Combo1 location, Label3 range note, Text1 T, Combo2 ambient; layer k
// = 0 … 5: Combo3(k) material list, Text2(k) 名称, Text3(k) thickness, Text4(k) 容重,
// Text5(k) 最高使用温度, Text6(k) 导热系数; results Text7(0 … 4) t12 … t56, Text8 t_out,
// Text9 q, Text10 q_c, Text11 热导率, Text12 运动粘度, Text13 普朗特准数, Text14 迭代次数;
// buttons Command1 粗略查图表计算 … Command7 退出. The standard method: Text15 ε, Text16 H,
// Text17 L; results Text18 q in W/m², Text19 h_c, Text20 h_r, Text21 辐射份额; Command8
// 标准计算; Grid1 the three methods side by side; RangeWarning the note on T. Esc closes
// the window.
#pragma once

#include <QList>
#include <QWidget>
#include <array>
#include <memory>

#include "db/database.h"
#include "db/table_cursor.h"
#include "heat/lining.h"
#include "heat/new_material.h"
#include "heat/standard_method.h"
#include "heat/standard_texts.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace heat {

class AddMaterialDialog;
class TemperatureDropChart;

class HeatTransferWindow : public QWidget {
    Q_OBJECT
public:
    explicit HeatTransferWindow(QWidget* parent = nullptr);
    ~HeatTransferWindow() override;

private:
    void createControls();
    void createStandardFields(QGridLayout* inputs, QGridLayout* results);
    void createComparisonTable(QVBoxLayout* outer);
    void openDatabase();
    ui::OptionalMessage writeMaterial(const NewMaterial& material);
    void bindLayerDisplays();

    HeatInput readInput() const;
    void calculate(bool convection);
    void calculateStandard();
    void showMessages(const std::vector<ui::Message>& messages);
    void showResults(const HeatLossResult& result);
    void showStandardResults(const StandardResult& result);
    void showComparison(const MethodComparison& table);
    void fitComparison();
    void clearResults();
    void markServiceLimits(const std::array<std::string, kLayerCount>& warnings);
    std::array<std::string, kLayerCount> serviceLimits() const;  // each layer's 最高使用温度
    void showRangeWarning(const std::string& text);  // hidden when empty
    void keepForChart(const HeatLossResult& result);
    QStringList materialNames() const;  // the lists' names in ID order, at most 1000
    void loadMaterials(bool announce);
    void refreshMaterialLists();
    void chooseLayerMaterial(int k, const QString& name);
    void locationChosen(int index);
    void showTemperatureDrop();
    void showAddMaterial();
    void showHelp();

    QComboBox* location_ = nullptr;
    QLabel* rangeNote_ = nullptr;
    QLabel* rangeWarning_ = nullptr;  // beside the results: T outside the charts' range
    QLineEdit* innerTemperature_ = nullptr;
    QComboBox* ambient_ = nullptr;
    struct LayerRow {
        QComboBox* materials = nullptr;
        QLineEdit *name = nullptr, *thickness = nullptr, *density = nullptr,
                  *maxTemperature = nullptr, *conductivity = nullptr;
    };
    std::array<LayerRow, kLayerCount> layers_;
    QList<QLineEdit*> interfaces_;
    QLineEdit *tOut_ = nullptr, *q_ = nullptr, *qc_ = nullptr, *iterations_ = nullptr;
    std::array<QLineEdit*, 3> airDisplays_{};
    QLineEdit *emissivity_ = nullptr, *height_ = nullptr, *length_ = nullptr;
    QLineEdit *qW_ = nullptr, *hc_ = nullptr, *hr_ = nullptr, *radiationShare_ = nullptr;
    QTableWidget* comparison_ = nullptr;

    db::Database database_;
    std::array<db::TableCursor*, kLayerCount> materialCursors_{};
    db::TableCursor* airCursor_ = nullptr;
    bool materialsLoaded_ = false;

    LiningState state_;
    std::optional<HeatLossResult> lastResult_;
    std::array<std::string, kLayerCount> lastNames_;
    TemperatureDropChart* chart_ = nullptr;
    AddMaterialDialog* addMaterial_ = nullptr;
    QWidget* help_ = nullptr;
};

// Creates the window on first use and shows it on behalf of `opener` (nullptr: the
// active window); later calls show the same window.
void showHeatTransferWindow(QWidget* opener = nullptr);

}  // namespace heat
