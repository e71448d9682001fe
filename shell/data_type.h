#pragma once
// The field-type pop-up of the structure grids: a borderless list of the five type names. A
// click on a type writes it into the current cell of the structure grid being edited (by
// `structure_edit_mode`: 1 the new-table window's, 2 the restructure window's) and closes.
#include <QDialog>
#include <QPointer>
#include <memory>

class QListWidget;
class QTableWidget;

namespace Ui {
class TData_type_frm;
}

namespace vantelo::shell {

class TData_type_frm : public QDialog {
    Q_OBJECT
public:
    explicit TData_type_frm(QWidget* owner);
    ~TData_type_frm() override;

    void ListBox1Click();

    QListWidget* ListBox1 = nullptr;

private:
    std::unique_ptr<Ui::TData_type_frm> ui_;
};

extern QPointer<TData_type_frm> Data_type_frm;

// The structure grid the pop-ups write into: the new-table window's grid when
// structure_edit_mode is 1, the restructure window's when it is 2, otherwise none.
QTableWidget* edited_structure_grid();

}  // namespace vantelo::shell
