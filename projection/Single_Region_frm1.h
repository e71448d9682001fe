#pragma once
// The projection form: the inputs of a single-region projection. Choosing a field in one of
// its lists loads that column of the current table into the projection workspace; the
// year-parameter grids hold what may change over the projected years, with an interpolation
// box beside each; 开始预测 projects, closes the form and opens the result viewer.
#include <QDialog>
#include <memory>

#include "platform/ui/services.h"
#include "projection/engine/workspace.h"

namespace Ui {
class TSingle_Region_frm;
}
class QComboBox;

namespace vantelo {

class StringGrid;

class TSingle_Region_frm : public QDialog {
    Q_OBJECT
public:
    explicit TSingle_Region_frm(QWidget* parent = nullptr);
    ~TSingle_Region_frm() override;

    int base_year() const;  // SpinEdit10
    int end_year() const;   // SpinEdit11

    // Fills the field lists with the current table's field names (each cleared first).
    void fill_field_lists(const QStringList& fields);
    // The grid layout of the menu command for Y projected years: year headers, row labels and
    // "0.0" in every parameter cell.
    void lay_out_grids(int years);

    // What the wizard sets on the form it fills: the field lists ComboBox2..ComboBox6 on or off,
    // the years (SpinEdit10, SpinEdit11; setting them counts as a change of years, so 开始预测
    // waits for the grid rebuild), and the year spins on or off.
    void set_field_lists_enabled(bool enabled);
    void set_years(int base, int end);
    void set_year_spins_enabled(bool enabled);

    // Field loaders.
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox4Change();
    void ComboBox5Change();
    void ComboBox6Change();
    void ComboBox10Change();
    void ComboBox11Change();
    // Years.
    void SpinEdit10Change();
    void SpinEdit11Change();
    void SpinEdit10DblClick();
    void SpinEdit11DblClick();
    void PageControl1Change();
    // Options.
    void RadioButton16Click();
    void RadioButton20Click();
    void RadioButton7Click();
    void RadioButton6Click();
    // Current cells.
    void StringGrid1SelectCell(int col, int row);
    void StringGrid3SelectCell(int col, int row);
    void StringGrid5SelectCell(int col, int row);
    void StringGrid4SelectCell(int col, int row);
    void StringGrid6SelectCell(int col, int row);
    void StringGrid7SelectCell(int col, int row);
    // Interpolation boxes.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    // Pattern files: 读入 and 保存 of the three pattern grids.
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();
    void Button13Click();
    // 取消 and 开始预测.
    void BitBtn1Click();
    void BitBtn2Click();

    StringGrid* grid(int n) const;  // StringGrid1..StringGrid8

    // The pattern files' dialogs.
    ui::FileDialogState OpenDialog1, SaveDialog1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void population_loader(QComboBox* box, projection::Sex sex);
    void mortality_loader(QComboBox* box, projection::Sex sex);
    void fertility_loader(QComboBox* box, int parity);
    void rebuild_grids();
    void year_headers(StringGrid* g, int years);
    void total_tfr_after_load(int years);
    void interpolate_row_box(int grid_no, int row, int box);
    void interpolate_pattern_box(int grid_no, int box);
    void read_pattern(int grid_no);
    void save_pattern(int grid_no);

    std::unique_ptr<Ui::TSingle_Region_frm> ui_;
};

// The projection form in use (the newest).
extern TSingle_Region_frm* Single_Region_frm;

}  // namespace vantelo
