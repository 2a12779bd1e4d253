// The playlist window's list: owner-drawn rows "N. title" in one scrolling
// column or in several columns side by side (scrolled a column at a time),
// one selected row drawn in inverse, and a row dragged onto another to move
// it. It draws the lines it is given and reports what the user does; what
// that means is the window's business.
#pragma once

#include "music/playlist_view.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QStringList>

#include <array>
#include <functional>
#include <utility>

namespace dorvane {

class TPlaylistBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TPlaylistBox(QWidget* parent = nullptr);

    void SetLines(const QStringList& lines);
    const QStringList& Lines() const { return lines_; }
    void SetLine(int row, const QString& line);
    int Count() const { return int(lines_.size()); }

    // -1 for none; the row is scrolled into view.
    void SetCurrentRow(int row);
    int CurrentRow() const { return current_; }

    void SetColours(QColor background, QColor titles, QColor numbers);
    QColor Background() const { return background_; }
    QColor Numbers() const { return numbers_; }
    // The font and the spacing 0..2 give the row height.
    void SetListFont(const QFont& font, int spacing);
    int RowHeight() const { return metrics_.height; }
    // -1 auto, 0 one column, 1..8.
    void SetColumnChoice(int choice);
    int ColumnChoice() const { return choice_; }
    // The columns drawn now (0 for the one scrolling column).
    int Columns() const;

    // The row under a point of the viewport; -1 outside rows.
    int RowAt(QPoint pos) const;
    QRect RowRect(int row) const;

    // The hint of a row; an empty text shows none.
    void SetHintSource(std::function<QString(int row)> hint) { hint_ = std::move(hint); }

signals:
    void RowClicked(int row);
    void RowActivated(int row, Qt::KeyboardModifiers modifiers); // double click, Enter
    void DeletePressed(int row);
    void RowDropped(int from, int to);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    int RowsPerColumn() const;
    int FirstVisibleRow() const;
    // The width of a row's number, from the advances of its characters, and
    // how many of them start within room pixels.
    std::pair<int, qsizetype> NumberWidth(const QString& number, int room) const;

    QStringList lines_;
    int current_ = -1;
    QColor background_{0x18, 0x3C, 0x7B};
    QColor titles_{Qt::white};
    QColor numbers_{0x9C, 0xC0, 0xFF};
    TRowMetrics metrics_;
    std::array<int, 12> numberAdvance_{}; // the digits, "." and " "
    int choice_ = 0;
    std::function<QString(int)> hint_;
    int dragFrom_ = -1;
    QPoint pressAt_;
    bool dragging_ = false;
};

} // namespace dorvane
