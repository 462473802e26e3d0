#include "ui/report_list.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace vinylo::ui {

ReportList::ReportList(const std::vector<Column>& columns, QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const Column& column : columns)
        titles << column.title;
    setHeaderLabels(titles);
    for (int i = 0; i < columnCount(); ++i) {
        headerItem()->setTextAlignment(i, Qt::AlignLeft | Qt::AlignVCenter);
        setColumnWidth(i, columns[static_cast<size_t>(i)].width);
    }
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setHighlightSections(false);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

int ReportList::RowCount() const {
    return topLevelItemCount();
}

int ReportList::AppendRow() {
    auto* item = new QTreeWidgetItem(this);
    for (int i = 0; i < columnCount(); ++i)
        item->setTextAlignment(i, Qt::AlignLeft);
    return indexOfTopLevelItem(item);
}

void ReportList::DeleteRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    delete takeTopLevelItem(row);
}

void ReportList::DeleteAllRows() {
    clear();
}

QString ReportList::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= columnCount())
        return {};
    return topLevelItem(row)->text(column);
}

void ReportList::SetCellText(int row, int column, const QString& text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= columnCount())
        return;
    topLevelItem(row)->setText(column, text);
}

int ReportList::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

void ReportList::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton) {
        emit rightButtonPressed(event->globalPosition().toPoint());
    }
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit leftButtonDoubleClicked();
    }
}

}  // namespace vinylo::ui
