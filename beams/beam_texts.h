// The fixed texts and names of the skid-beam windows: the row windows Form2 … Form9
// (a slab on N rows of skid beams), the column windows Form22 … Form29 (a skid beam on
// N columns) and their two count choosers. Texts are UTF-8. The report and the command
// line use the same texts as the windows.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace beams {

enum class BeamFamily { Row, Column };

// "Form2" … "Form9" for rows, "Form22" … "Form29" for columns; n = 2 … 9.
std::string formName(BeamFamily family, int n);
// Window caption: "水冷梁为2排时的计算", "水冷梁立柱为2根时的计算".
std::string caption(BeamFamily family, int n);
// Title label Label3: the caption for rows, "每排水冷梁立柱为2根时的强度及受力计算" for columns.
std::string title(BeamFamily family, int n);

// Label1(k), k = 0 … n, of the distance L[k]; the same in both families.
std::string distanceLabel(int n, int k);
// Label5(k−1) and Label6(k−1) of the moment and the force at support k = 1 … n.
std::string momentLabel(int k);
std::string forceLabel(int k);
// Label2(i) of Text2(i): thickness, length, span for rows; row key, length, span and
// dead weight for columns.
std::vector<std::string> inputLabels(BeamFamily family);
// Label4, the heading of the results.
std::string resultHeading();
// The calculated load P of the column windows, in the report and on Label7 beside the
// row key.
std::string rowLoadLabel();

// Shown, titled "提示", when the distances do not add up to the total length.
std::string lengthMessage(BeamFamily family, int n);
// The number pattern of every result box: "###.0", or "####0.0" in Form26.
std::string resultPattern(BeamFamily family, int n);

// Design names of a row window's 结果比较 and 返回 buttons.
std::string rowCompareButton(int n);
std::string rowBackButton(int n);

// The two count choosers Form1 (rows) and Form21 (columns).
struct ChooserTexts {
    std::string formName;
    std::string caption;
    std::string title;               // Label1
    std::string countLabel;          // Label2
    std::vector<std::string> items;  // Combo1, in the order of adding
    std::string secondButton;        // Command2: 结束 on Form1, 返回 on Form21
};
const ChooserTexts& chooserTexts(BeamFamily family);

// `items` sorted as text, the way the choosers' lists show them.
std::vector<std::string> sortedAsText(std::vector<std::string> items);

// The window count a chooser item stands for: 2 … 9, or nothing ("10", "11", "12").
std::optional<int> chosenCount(const std::string& item);

}  // namespace beams
