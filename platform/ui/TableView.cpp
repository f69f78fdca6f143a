#include "platform/ui/TableView.h"

#include <QHeaderView>
#include <QListWidget>
#include <QTableWidget>

#include <algorithm>

#include "platform/foundation/QtText.h"

namespace vorelt {

namespace {

bool fitsRows(const QWidget* view) {
    return view != nullptr && view->property("fitsRows").toBool();
}

}  // namespace

struct TableView::Connection {
    QMetaObject::Connection connection;
    ~Connection() { QObject::disconnect(connection); }
};

TableView::TableView(QAbstractItemView* view)
    : Control(view), activated_(std::make_unique<Connection>()) {
    activated_->connection =
        QObject::connect(view, &QAbstractItemView::activated, [this] { sendAction(); });
    if (fitsRows(view)) {
        view->viewport()->setAutoFillBackground(false);
        view->setAutoFillBackground(false);
    }
}

TableView::~TableView() = default;

void TableView::setRows(const std::vector<std::vector<std::string>>& rows) {
    const int selected = selectedRow();
    if (auto* list = qobject_cast<QListWidget*>(widget())) {
        list->clear();
        for (const auto& cells : rows) {
            list->addItem(cells.empty() ? QString() : qs(cells.front()));
        }
    } else if (auto* table = qobject_cast<QTableWidget*>(widget())) {
        std::size_t columns = 0;
        for (const auto& cells : rows) {
            columns = std::max(columns, cells.size());
        }
        table->clearContents();
        table->setRowCount(static_cast<int>(rows.size()));
        table->setColumnCount(static_cast<int>(columns));
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
                auto* item = new QTableWidgetItem(qs(rows[r][c]));
                // The first column names the row; the others are read as figures.
                item->setTextAlignment(Qt::AlignVCenter |
                                       (c == 0 ? Qt::AlignLeading : Qt::AlignTrailing));
                item->setFlags(Qt::ItemIsEnabled);
                table->setItem(r, c, item);
            }
        }
        fitRows();
    }
    if (selected >= 0) {
        selectRow(std::min(selected, numberOfRows() - 1));
    }
}

void TableView::fitRows() {
    auto* table = qobject_cast<QTableWidget*>(widget());
    if (table == nullptr || !fitsRows(table)) {
        return;
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    int height = 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r) {
        height += table->rowHeight(r);
    }
    table->setFixedHeight(height);
    int width = 2 * table->frameWidth();
    for (int c = 0; c < table->columnCount(); ++c) {
        width += table->columnWidth(c);
    }
    table->setMinimumWidth(width);
}

int TableView::numberOfRows() const {
    if (const auto* view = qobject_cast<const QAbstractItemView*>(widget());
        view && view->model()) {
        return view->model()->rowCount();
    }
    return 0;
}

std::vector<std::string> TableView::row(int index) const {
    std::vector<std::string> cells;
    const auto* view = qobject_cast<const QAbstractItemView*>(widget());
    if (view == nullptr || view->model() == nullptr || index < 0 || index >= numberOfRows()) {
        return cells;
    }
    const QAbstractItemModel* model = view->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        cells.push_back(model->index(index, c).data().toString().toStdString());
    }
    return cells;
}

int TableView::selectedRow() const {
    const auto* view = qobject_cast<const QAbstractItemView*>(widget());
    if (view == nullptr || view->selectionModel() == nullptr) {
        return -1;
    }
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    if (!rows.isEmpty()) {
        return rows.first().row();
    }
    const QModelIndexList cells = view->selectionModel()->selectedIndexes();
    return cells.isEmpty() ? -1 : cells.first().row();
}

void TableView::selectRow(int index) {
    auto* view = qobject_cast<QAbstractItemView*>(widget());
    if (view == nullptr || view->model() == nullptr) {
        return;
    }
    if (index < 0 || index >= numberOfRows()) {
        view->clearSelection();
        return;
    }
    view->setCurrentIndex(view->model()->index(index, 0));
}

bool TableView::isOnScreen() const {
    const QWidget* view = widget();
    return view != nullptr && view->isVisible();
}

}  // namespace vorelt
