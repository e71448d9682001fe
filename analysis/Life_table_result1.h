#pragma once
// The life-table result window: the table of the last computation in a grid; 图形 draws the
// survival curve in a new chart window, 保存 writes the grid into a new Paradox table of eight
// text fields, 取消 returns to the life-table form.
#include <QDialog>
#include <memory>

#include "platform/ui/services.h"

namespace Ui {
class TLife_table_result;
}

namespace vantelo::ui {
class StringGrid;
}

namespace vantelo {

class TLife_table_result : public QDialog {
    Q_OBJECT
public:
    explicit TLife_table_result(QWidget* parent = nullptr);
    ~TLife_table_result() override;

    ui::StringGrid* StringGrid1() const;
    // No filter and no default extension; keeps its name between saves of this window. The
    // window tests for an existing file itself, so the dialog does not ask.
    ui::FileDialogState SaveDialog1;

    // Writes the headers and one row per group of the life-table arrays.
    void fill_grid();

    void BitBtn3Click();  // 图形
    void BitBtn1Click();  // 保存
    void BitBtn2Click();  // 取消

private:
    std::unique_ptr<Ui::TLife_table_result> ui_;
};

// The newest result window.
extern TLife_table_result* Life_table_result;

// Creates a result window owned by the application, fills its grid from the life-table arrays
// and shows it modally.
void show_life_table();

}  // namespace vantelo
