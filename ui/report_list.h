#pragma once

#include <QPoint>
#include <QString>
#include <QTreeWidget>
#include <vector>

namespace vinylo::ui {

// A list view with column headers whose rows are the data (the online users,
// the song queue): cells are read and written by row and column, both counted
// from 0. Reads out of range give empty text; writes and deletes out of range
// do nothing.
class ReportList : public QTreeWidget {
    Q_OBJECT

public:
    struct Column {
        QString title;
        int width;
    };

    explicit ReportList(const std::vector<Column>& columns, QWidget* parent = nullptr);

    int RowCount() const;
    int AppendRow();  // index of the new, empty row
    void DeleteRow(int row);
    void DeleteAllRows();
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    int SelectedRow() const;  // -1 when none

signals:
    // A press of the right mouse button, with its position on the screen.
    void rightButtonPressed(const QPoint& globalPosition);
    // A double-click of the left button anywhere in the list, on a row or
    // not; the selection is already that of its first click.
    void leftButtonDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace vinylo::ui
