#pragma once
// The editable structure grid of the new-table and restructure windows: a string grid whose
// mouse and key events reach the window's handlers before the grid's own processing, as the
// windows' handlers expect (a right button does not move the current cell; a key is seen by the
// key-down handler before the grid moves, and a typed character by the key-press handler, which
// may use it up).
#include <QTableWidget>
#include <functional>

namespace vantelo::shell {

// Column 0, the field numbers, is the grid's fixed column: the current cell never enters it and
// starts in the first row's name column.
class StructureGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit StructureGrid(QWidget* parent = nullptr);

    // Called on a mouse button press at pos (viewport coordinates): for the left button after
    // the grid has moved the current cell, for the others without moving it.
    std::function<void(Qt::MouseButton, QPoint)> on_mouse_down;
    // Called on a key press before the grid's own handling.
    std::function<void(int key)> on_key_down;
    // Called for a typed character after on_key_down; true uses the character up.
    std::function<bool(QChar)> on_key_press;

    // Editing on: typing or a double click opens the cell's in-place editor; off: cells are
    // changed only by the handlers.
    void set_editing(bool on);
    bool editing() const;
    // Commits an open in-place editor into its cell; close_editor also closes it.
    void commit_editor();
    void close_editor();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* open_editor() const;
};

// The handlers both structure windows share (the current row and column are the grid's).
// Click: struct_grid_row and struct_grid_col := the current cell; when the current row is not
// the last and the last row's name is empty, the last row is removed.
void structure_grid_click(StructureGrid* grid);
// Mouse down, judged by the current cell: column 1 turns editing on, column 2 off and with the
// right button opens the type pop-up at the mouse; column 3 of a "Char" row turns editing off
// and with the right button opens the width pop-up below the mouse. switch_editing false leaves
// the editing option alone. The pop-ups are owned by window.
void structure_grid_mouse_down(QWidget* window, StructureGrid* grid, Qt::MouseButton button, QPoint pos,
                               bool switch_editing);
// A typed character: in columns 2 and 3 the in-place editor is closed first; in column 2 a
// letter key writes its type name (B, C, D, F, I in either case); in column 3 of a "Char" row a
// digit is appended to the width. Characters typed into columns 2 and 3 are used up.
bool structure_grid_key_press(StructureGrid* grid, QChar key);

}  // namespace vantelo::shell
