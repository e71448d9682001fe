#pragma once
// The common part of the five chart definition dialogs (line, vertical bar, horizontal bar,
// point and area): title and axis edits, the table's fields, the chosen variables, 3-D or 2-D,
// the title and axis font buttons, 确定 and 取消. 确定 draws one series per chosen variable,
// filled from the whole current table (the main window's Table1), in a new chart window; the
// dialog stays open for more charts.
// Each twin builds its own form and says which series it draws and how its extra controls
// set each series.
#include <QDialog>
#include <QStringList>

#include "platform/chart/series.h"
#include "platform/ui/services.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vantelo::db {
class Dataset;
}

namespace vantelo::charts {

class TGraph;

// The field types a chart can take as a variable: small integer, integer, floating point,
// currency and large integer.
bool is_numeric_field(db::Dataset& table, const QString& name);

// The item index of a group of radio buttons (the buttons in the group, in their order; -1
// when none is checked), and choosing an item.
int radio_index(const QGroupBox* group);
void set_radio_index(QGroupBox* group, int index);

// The font buttons of the chart dialogs: the dialog's font dialog, then, on OK, its size,
// colour and style into the title or the axis font settings; a Cancel changes nothing.
void title_font_button(QWidget* parent, ui::FontDialogState& font_dialog);
void axis_font_button(QWidget* parent, ui::FontDialogState& font_dialog);

class ChartDefinitionDialog : public QDialog {
    Q_OBJECT
public:
    // Handlers.
    void Button4Click();  // ">>>"
    void Button5Click();  // "<<<"
    void BitBtn3Click();  // 主标题 font
    void BitBtn4Click();  // 坐标轴 font
    void BitBtn2Click();  // 确定
    void BitBtn1Click();  // 取消

    // Fills ListBox1 with the field names.
    void fill_fields(const QStringList& names);

    // The components, by their design names.
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    ui::FontDialogState FontDialog1;

protected:
    ChartDefinitionDialog(QWidget* parent, chart::SeriesKind kind);
    // After the form is set up: finds the common components and connects their handlers.
    void bind_common();
    // The twin's own settings of each new series, before it is attached and filled.
    virtual void prepare_series(chart::Series&) {}
    // The twin's own settings after the series is filled (the point dialog's markers).
    virtual void finish_series(chart::Series&) {}

    // Bar series: value marks as the check box, the combination by the group's item ("无",
    // "相邻", "叠式", "叠式(100%)": none, side by side, stacked, stacked to 100 %).
    static void set_bar_options(chart::Series& s, const QCheckBox* marks, const QGroupBox* combination);
    // Area series: the combination by the group's item ("无", "叠式", "叠式(100%)").
    static void set_area_options(chart::Series& s, const QGroupBox* combination);

private:
    chart::SeriesKind kind_;
};

// A chart window owned by the application (kept until the program ends), made Graph, with the
// title and axis fonts of the chart settings.
TGraph* new_application_chart();

}  // namespace vantelo::charts
