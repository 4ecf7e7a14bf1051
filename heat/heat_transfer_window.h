// HeatTransferWindow (传热计算): the inputs of the lining heat-loss calculation, each
// layer's material picked from insulation.db through the layer's own cursor, the two
// calculations and their results. The window keeps what the last calculation read (T,
// thicknesses, conductivities) so that a field that is not a number leaves its previous
// value, and the last results for the 温降图 chart.
//
// Control names: Combo1 location, Label3 range note, Text1 T, Combo2 ambient; layer k
// = 0 … 5: Combo3(k) material list, Text2(k) 名称, Text3(k) thickness, Text4(k) 容重,
// Text5(k) 最高使用温度, Text6(k) 导热系数; results Text7(0 … 4) t12 … t56, Text8 t_out,
// Text9 q, Text10 q_c, Text11 热导率, Text12 运动粘度, Text13 普朗特准数, Text14 迭代次数;
// buttons Command1 粗略查图表计算 … Command7 退出.
#pragma once

#include <QList>
#include <QWidget>
#include <array>
#include <memory>

#include "db/database.h"
#include "db/table_cursor.h"
#include "heat/lining.h"
#include "heat/new_material.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

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
    void openDatabase();
    ui::OptionalMessage writeMaterial(const NewMaterial& material);
    void bindLayerDisplays();

    HeatInput readInput() const;
    void calculate(bool convection);
    void showResults(const HeatLossResult& result);
    void loadMaterials(bool announce);
    void chooseLayerMaterial(int k, const QString& name);
    void locationChosen(int index);
    void showTemperatureDrop();
    void showAddMaterial();
    void showHelp();

    QComboBox* location_ = nullptr;
    QLabel* rangeNote_ = nullptr;
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
