#pragma once
// What the wizard's data pages share: the projection form of their wizard run, the number of
// ages, and their grid of ages (row 0 the titles, column 0 the ages, the data cells typed, read
// from a wizard text file with 读取 or saved to one with 保存).
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <vector>

#include "platform/ui/services.h"

namespace vantelo {

namespace ui {
class StringGrid;
}
class TSingle_Region_frm;

class WizardPage : public QDialog {
    Q_OBJECT
public:
    ui::StringGrid* grid() const { return grid_; }  // StringGrid1

    ui::FileDialogState OpenDialog1, SaveDialog1;  // OpenDialog1 filter "txt|*.txt"

protected:
    explicit WizardPage(QWidget* parent);

    // The page of a wizard run: N = ages (from the first page) and the form the run fills; the
    // grid gets the titles and `rows` rows holding the ages first_age, first_age + 1, ... and
    // "0.0" in every data column. A file read into it must give `required_rows` rows.
    void begin(ui::StringGrid* grid, int ages, TSingle_Region_frm* form, const QStringList& titles, int first_age,
               int rows, int required_rows);

    // 读取: the open dialog; on OK with a file name, the file's rows (read_wizard_rows: one number per
    // data column) go, in the general format, into rows 1, 2, ... of the data columns; the file
    // is read no further than the grid's rows. A refused file changes no cell.
    void read_file();
    // 保存: the save dialog; on OK with a file name, every data row, its texts unchanged
    // (write_wizard_rows).
    void save_file();

    // Data column `col` of rows 1..rows read as numbers (the conversion error otherwise).
    std::vector<double> column(int col, int rows) const;
    // The projection form of this wizard run.
    TSingle_Region_frm& form() const;
    int ages() const { return ages_; }

private:
    ui::StringGrid* grid_ = nullptr;
    int ages_ = 0;
    int required_rows_ = 0;
    QPointer<TSingle_Region_frm> form_;
};

}  // namespace vantelo
