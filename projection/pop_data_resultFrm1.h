#pragma once
// The text report window: a report of text lines in an editable rich-text box, saved as a
// Rich Text Format document by 存盘 and closed by 取消. The result viewers create one per text
// request, fill its lines and show it modally.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/services.h"

namespace Ui {
class Tpop_data_resultForm1;
}
class QTextEdit;

namespace vantelo {

class Tpop_data_resultForm1 : public QDialog {
    Q_OBJECT
public:
    explicit Tpop_data_resultForm1(QWidget* parent = nullptr);
    ~Tpop_data_resultForm1() override;

    // The line list of the box.
    void add_line(const std::string& line);
    void insert_line(int index, const std::string& line);
    void clear_lines();
    void set_lines(const std::vector<std::string>& lines);
    // The box's current text as lines (the user's edits included); an empty box has none.
    std::vector<std::string> lines() const;

    QTextEdit* RichEdit1() const;
    ui::FileDialogState SaveDialog1;

    void Button1Click();  // 存盘
    void Button2Click();  // 取消

private:
    std::unique_ptr<Ui::Tpop_data_resultForm1> ui_;
};

// The newest text report window.
extern Tpop_data_resultForm1* pop_data_resultForm1;

// Shows `lines` in a new text report window, modally.
void show_text_report(const std::vector<std::string>& lines);

}  // namespace vantelo
