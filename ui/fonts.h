// The application font: "宋体" when installed, else the first CJK font found, so that
// Chinese captions are readable on any machine.
#pragma once

class QApplication;

namespace ui {

void applyChineseFont(QApplication& app);

// Twips to pixels at 100 % (15 twips = 1 pixel).
constexpr int twips(int t) { return t / 15; }

}  // namespace ui
