#pragma once
// The index result window of the data-quality indices: the index's lines and the three ranges
// that read it as good, acceptable or not acceptable.
#include <QDialog>
#include <memory>

#include "analysis/engine/age_indices.h"

namespace Ui {
class TIndex_Result_frm;
}

namespace vantelo {

class TIndex_Result_frm : public QDialog {
    Q_OBJECT
public:
    explicit TIndex_Result_frm(QWidget* parent = nullptr);
    ~TIndex_Result_frm() override;

    // Adds the report's lines to ListBox1 and writes its ranges into Edit1, Edit2 and Edit3.
    void show_report(const analysis::IndexReport& report);

    void BitBtn2Click();  // 取消; 保存 (BitBtn1) has no action

private:
    std::unique_ptr<Ui::TIndex_Result_frm> ui_;
};

// The newest index result window.
extern TIndex_Result_frm* Index_Result_frm;

// Creates a result window owned by the application, shows the report in it, modally.
void show_index_result(const analysis::IndexReport& report);

}  // namespace vantelo
