// The main window's on-screen keypad: eighteen buttons in two rows that edit the
// current field's text.
#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Captions left to right, row 1 then row 2.
QStringList keypadCaptions();

// The text of the current field after pressing the key `caption`: digits and "."
// append, "后退" drops the last character, "全消" empties; "+", "-", "TAB", "/" and "'"
// leave it as it is.
QString keypadEdit(const QString& text, const QString& caption);

}  // namespace app
