#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class QAbstractItemView;

namespace vorelt {

// A QListWidget or QTableWidget of a loaded .ui view: rows of text, a list (one column) or a table.
// Activating a row (double click, Enter) sends the action. A table whose resource sets "fitsRows"
// shows every row without scrolling, on the window's own ground, and takes the height they need.
class TableView : public Control {
public:
    explicit TableView(QAbstractItemView* view);
    ~TableView() override;

    // Replaces the rows, each given by its cells in column order; keeps the selected row where it
    // can.
    void setRows(const std::vector<std::vector<std::string>>& rows);
    int numberOfRows() const;
    std::vector<std::string> row(int index) const;
    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int index);
    // Whether it is in a window that is shown, and not hidden itself.
    bool isOnScreen() const;

private:
    void fitRows();
    // The toolkit's connection to the rows' activation, ended with this control.
    struct Connection;
    std::unique_ptr<Connection> activated_;
};

}  // namespace vorelt
