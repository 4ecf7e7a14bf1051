// The material-list panel: the items weighed so far in a table with their total, a
// button that adds the item of the last calculation, one that removes the selected
// rows, and the file operations behind the main window's 文件 menu (new, open, save,
// print). The list itself is a MaterialList value; the panel only shows and edits it.
#pragma once

#include <QWidget>
#include <optional>

#include "materiallist/material_list.h"

class QLabel;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace materiallist {

class MaterialListPanel : public QWidget {
    Q_OBJECT

public:
    explicit MaterialListPanel(QWidget* parent = nullptr);

    const MaterialList& list() const { return list_; }
    bool isModified() const { return modified_; }

    // The item 加入材料表 adds; none disables the button (no calculation yet, or the
    // last one wrote nothing).
    void setPendingItem(std::optional<MaterialItem> item);

    // 新建材料表: empties the list. A list with unsaved changes is only dropped after
    // the user answers Yes; returns false when the user keeps it.
    bool newList();

    // Reads `path` in place of the list (asking first as newList() does). A file that
    // cannot be read, or has a bad row, leaves the list as it was and shows a message
    // naming the file and the line. Returns true when the file was loaded.
    bool openFile(const QString& path);

    // Writes the list to `path`; shows a message and returns false on failure.
    bool saveFile(const QString& path);

    // Renders the list as an A4 table (title, one row per item, total) on `printer`.
    void print(QPrinter& printer) const;

public slots:
    void addPendingItem();
    void removeSelectedItems();

private:
    bool dropChangesAllowed();
    void refresh();
    void showError(const QString& text);

    MaterialList list_;
    std::optional<MaterialItem> pending_;
    bool modified_ = false;
    QTableWidget* table_ = nullptr;
    QLabel* total_ = nullptr;
    QPushButton* add_ = nullptr;
};

}  // namespace materiallist
