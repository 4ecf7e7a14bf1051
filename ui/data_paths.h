// Where the program keeps its files on this platform.
//
// The data folder holds the databases, help.txt, the batch error log and the drawing
// name list: the folder given on the command line, else $TOLVANE_DATA_DIR, else
// $XDG_DATA_HOME/tolvane (~/.local/share/tolvane).
#pragma once

#include <string>

namespace ui {

// Sets the folder given by --data-dir; an empty string clears it.
void setDataDirOverride(const std::string& dir);

std::string dataDir();

// The skid-beam report: $TOLVANE_REPORT_FILE, else 水冷梁计算.doc in a data folder given
// on the command line, else ~/Documents/水冷梁计算.doc.
std::string reportFilePath();

// The folder of standard.db: the first line of ~/.config/tolvane/zuvevid.ini when
// that file exists and the line is not empty, else the data folder.
std::string standardDbDir();

}  // namespace ui
