#pragma once
// The urban/rural result viewer: 30 indicators of the whole region, its rural part and its urban
// part in a list, shown as a text report, an animated line chart or an animated bar chart (the
// three age structures as year-stepped pyramids in both chart modes). It reads both parts'
// results and the projection form's years at every request and changes neither.
#include <QDialog>
#include <memory>

#include "urban_rural/engine/multi_reports.h"

namespace Ui {
class Tmulti_result_Frm;
}
class QComboBox;
class QRadioButton;
class QPushButton;

namespace vantelo {

class Tmulti_result_Frm : public QDialog {
    Q_OBJECT
public:
    explicit Tmulti_result_Frm(QWidget* parent = nullptr);
    ~Tmulti_result_Frm() override;

    QComboBox* ComboBox1() const;
    QRadioButton* RadioButton12() const;
    QRadioButton* RadioButton1() const;
    QRadioButton* RadioButton15() const;
    QPushButton* BitBtn2() const;
    QPushButton* BitBtn1() const;

    // The list entry the user chose, or -1 while none is chosen.
    int selected_indicator() const { return selected_; }

    void BitBtn2Click();  // 显示
    void BitBtn1Click();  // 取消

private:
    void show_text(int k, const QString& title);
    void show_chart(int k, const QString& title, bool bars);

    std::unique_ptr<Ui::Tmulti_result_Frm> ui_;
    int selected_ = -1;
};

// The newest urban/rural result viewer.
extern Tmulti_result_Frm* multi_result_Frm;

// Both parts' results and the urban/rural form's years as the reports read them.
urban_rural::MultiResultView current_multi_result_view();

}  // namespace vantelo
