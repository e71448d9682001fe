#pragma once
// 数据管理 > 表结构: the fields of the current table (number, name, type name, width); a click
// anywhere closes it.
#include <QDialog>
#include <QPointer>
#include <memory>

class QLabel;
class QFrame;
class QTableWidget;

namespace Ui {
class TTable_info_frm;
}

namespace vantelo::shell {

class TTable_info_frm : public QDialog {
    Q_OBJECT
public:
    explicit TTable_info_frm(QWidget* owner);
    ~TTable_info_frm() override;

    void StringGrid1Click();
    void Panel1Click();
    void Label1Click();
    void Label2Click();
    void Label3Click();
    void Label4Click();
    void FormClick();

    QTableWidget* StringGrid1 = nullptr;
    QFrame* Panel1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<Ui::TTable_info_frm> ui_;
};

extern QPointer<TTable_info_frm> Table_info_frm;

// Registers 数据管理 > 表结构 with the main window.
void register_table_info();

}  // namespace vantelo::shell
