#pragma once
// The urban/rural projection form (城乡人口预测): the rural and urban inputs of a region split in
// two parts. Choosing a field loads that column of the current table into the rural part (the
// projection workspace) or the urban part (the urban workspace); the year-parameter grids hold
// fertility, life expectancy, sex ratio at birth and the yearly migrants from the rural to the
// urban part with their ages, each with an interpolation box; 运算 projects, closes the form and
// opens the result viewer.
#include <QDialog>
#include <memory>

#include "projection/engine/workspace.h"

namespace Ui {
class Tmulti_pop_Frm;
}
class QComboBox;

namespace vantelo {

class StringGrid;

class Tmulti_pop_Frm : public QDialog {
    Q_OBJECT
public:
    explicit Tmulti_pop_Frm(QWidget* parent = nullptr);
    ~Tmulti_pop_Frm() override;

    int base_year() const;  // SpinEdit16
    int end_year() const;   // SpinEdit17

    // Fills the ten field lists with the current table's field names (each cleared first).
    void fill_field_lists(const QStringList& fields);
    // The grid layout of the menu command for Y projected years: year headers, row labels and
    // "0.0" in every parameter cell (StringGrid1 keeps the columns of its design).
    void lay_out_grids(int years);

    // Field loaders: population, death rates, fertility of the rural and the urban part.
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox1Change();
    void ComboBox10Change();
    void ComboBox4Change();
    void ComboBox5Change();
    void ComboBox11Change();
    void ComboBox12Change();
    void ComboBox6Change();
    void ComboBox13Change();
    // Current row of the one-row grids (StringGrid1SelectCell serves StringGrid8 too).
    void StringGrid1SelectCell(int col, int row);
    void StringGrid2SelectCell(int col, int row);
    void StringGrid3SelectCell(int col, int row);
    // Interpolation boxes.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    // Year span.
    void SpinEdit16Change();
    void SpinEdit17Change();
    void SpinEdit16DblClick();
    void SpinEdit17DblClick();
    void PageControl1Change();
    // 取消 and 运算.
    void BitBtn1Click();
    void BitBtn2Click();

    StringGrid* grid(int n) const;  // StringGrid1..StringGrid8

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Part { rural, urban };
    void population_loader(QComboBox* box, Part part, projection::Sex sex);
    void mortality_loader(QComboBox* box, Part part, projection::Sex sex);
    void fertility_loader(QComboBox* box, Part part);
    int loader_start(Part part);
    void rebuild_grids();
    void lay_out_migration_grids(int years, const QString& zero);
    void year_headers(StringGrid* g, int years);
    void interpolate_row_box(int grid_no, int row, int box);
    void interpolate_pattern_box(StringGrid* g, int box, int rows, bool every_column);

    std::unique_ptr<Ui::Tmulti_pop_Frm> ui_;
    // The item chosen in the migration-share box's sex list (ComboBox7): 0 男性, 1 女性, -1 none,
    // as after text typed into the list.
    int share_sex_item_ = 0;
};

// The urban/rural projection form in use (the newest).
extern Tmulti_pop_Frm* multi_pop_Frm;

}  // namespace vantelo
