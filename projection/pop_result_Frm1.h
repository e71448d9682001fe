#pragma once
// The single-region result viewer: 45 indicators of the projection in a list and three ways
// to show the chosen one: a text report, an animated line chart or an animated bar chart (the
// age structure as a year-stepped pyramid in both chart modes). It reads the workspace and the
// projection form's years at every request and changes neither.
#include <QDialog>
#include <memory>

#include "projection/result_reports.h"

namespace Ui {
class Tpop_result_Form1;
}
class QComboBox;
class QRadioButton;
class QPushButton;

namespace vantelo {

class Tpop_result_Form1 : public QDialog {
    Q_OBJECT
public:
    explicit Tpop_result_Form1(QWidget* parent = nullptr);
    ~Tpop_result_Form1() override;

    QComboBox* ComboBox1() const;
    QRadioButton* RadioButton12() const;
    QRadioButton* RadioButton1() const;
    QRadioButton* RadioButton15() const;
    QPushButton* BitBtn2() const;
    QPushButton* BitBtn1() const;

    // The list entry the user chose, or -1 while none is chosen (the initial text, or text
    // typed into the box).
    int selected_indicator() const { return selected_; }

    void BitBtn2Click();       // 显示
    void BitBtn1Click();       // 取消
    void RadioButton12Click(); // 数据显示
    void RadioButton15Click(); // 直方图

private:
    void show_text(int k, const QString& title);
    void show_chart(int k, const QString& title, bool bars);

    std::unique_ptr<Ui::Tpop_result_Form1> ui_;
    int selected_ = -1;
};

// The newest result viewer.
extern Tpop_result_Form1* pop_result_Form1;

// The workspace's results and the projection form's years as the reports read them.
projection::ResultView current_result_view();

}  // namespace vantelo
