#pragma once
// The main window: menus, the two tool bars, the grid on the current table and the program's one
// set of data-access objects, which every command window uses through `quilta`.
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "platform/db/dataset.h"
#include "platform/ui/services.h"

class QAction;
class QToolButton;
class QToolBar;
class QMenu;

namespace Ui {
class Tquilta;
}

namespace vantelo::shell {

class DatasetModel;
class DBGrid;
class DBNavigator;

class Tquilta : public QMainWindow {
    Q_OBJECT
public:
    // Stores itself in `quilta` before its creation handler runs.
    explicit Tquilta(QWidget* parent = nullptr);
    ~Tquilta() override;

    // Data-access objects: the current table, the copy target, the statement runner, the batch
    // copy and the link that feeds the grid and the navigator.
    db::Dataset Table1;
    db::Dataset Table2;
    db::Query Query1;
    db::BatchMove BatchMove1;
    DatasetModel* DataSource1 = nullptr;

    DBGrid* DBGrid1 = nullptr;
    DBNavigator* DBNavigator1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;

    ui::FileDialogState OpenDialog1;
    ui::FileDialogState SaveDialog1;

    // The names of all fields of Table1, in table order.
    QStringList field_names() const;
    // The table check: without an open table shows the message and returns false.
    bool check_table(const QString& message);
    // Commits an open grid cell editor into the current record.
    void commit_grid_editor();
    // Commits an open cell editor and posts the pending record, as leaving the row does.
    void post_pending_edit();
    // The action of a menu item, by its name ("Open1", "Table_info", ...).
    QAction* menu_item(const QString& name) const;
    // Enables the items whose windows are registered (call after registering launchers).
    void update_launchers();

    void FormCreate();

    // File commands.
    void New1Click();
    void Open1Click();
    void N8Click();
    void Save1Click();
    void Close1Click();
    void Exit1Click();
    void Content1Click();
    // Data preparation.
    void N10Click();
    void N11Click();
    // Table commands.
    void Table_infoClick();
    void Restructure1Click();
    void Convert1Click();
    void Compute1Click();
    // Population analysis.
    void N3Click();
    void N4Click();
    void LifeTable1Click();
    void N7Click();
    void N12Click();
    void Projection1Click();
    void N6Click();
    // Charts.
    void Line1Click();
    void Bar1Click();
    void HorizBar1Click();
    void Point1Click();
    void Area1Click();
    void Scator1Click();
    void AgePyrimider1Click();
    void About1Click();
    // The target-planning dialog; no menu item leads to it.
    void Simulation1Click();
    // Image tool bar.
    void ToolButton6Click();
    void ToolButton7Click();
    void ToolButton8Click();
    void ToolButton9Click();
    void ToolButton10Click();
    void ToolButton11Click();
    void ToolButton12Click();

protected:
    // Closing the main window ends the program, whatever other windows are still shown.
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Check { None, Table, TableShort };
    void launch(const QString& item, Check check, bool modal = true);
    void prepare_input_table(const std::string& fields);
    void build_tool_bars();

    std::unique_ptr<Ui::Tquilta> ui_;
};

// The main window, alive from start-up to the end of the program.
extern Tquilta* quilta;

// The HTML page that stands in for a help file: "dir/VORN.hlp" is shown from "dir/VORN.html",
// or, when that is missing, from the page of the same name beside the program. Empty when
// neither exists. 内容 shows a page of at most 1 MiB; a larger one is refused with a message.
QString help_page_for(const QString& help_file);

}  // namespace vantelo::shell
