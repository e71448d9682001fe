#include "shell/menu.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "shell/app_state.h"
#include "shell/dataset_model.h"
#include "shell/db_grid.h"
#include "shell/db_navigator.h"
#include "shell/input_tables.h"
#include "shell/launch.h"
#include "shell/main_table.h"
#include "shell/startup.h"
#include "ui_menu.h"

namespace vantelo::shell {

Tquilta* quilta = nullptr;

namespace {

// The menu items that open a command window, with the window's own handler.
struct LauncherItem {
    const char* item;
    void (Tquilta::*handler)();
};

const LauncherItem launcher_items[] = {
    {"New1", &Tquilta::New1Click},
    {"N8", &Tquilta::N8Click},
    {"Table_info", &Tquilta::Table_infoClick},
    {"Restructure1", &Tquilta::Restructure1Click},
    {"Convert1", &Tquilta::Convert1Click},
    {"Compute1", &Tquilta::Compute1Click},
    {"N3", &Tquilta::N3Click},
    {"N4", &Tquilta::N4Click},
    {"LifeTable1", &Tquilta::LifeTable1Click},
    {"N7", &Tquilta::N7Click},
    {"N12", &Tquilta::N12Click},
    {"Projection1", &Tquilta::Projection1Click},
    {"N6", &Tquilta::N6Click},
    {"Line1", &Tquilta::Line1Click},
    {"Bar1", &Tquilta::Bar1Click},
    {"HorizBar1", &Tquilta::HorizBar1Click},
    {"Point1", &Tquilta::Point1Click},
    {"Area1", &Tquilta::Area1Click},
    {"Scator1", &Tquilta::Scator1Click},
    {"AgePyrimider1", &Tquilta::AgePyrimider1Click},
    {"About1", &Tquilta::About1Click},
};

// A tool-bar image: one character on a coloured tile.
QIcon tile_icon(const QString& glyph, const QColor& color)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(140));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, glyph);
    return QIcon(pm);
}

}  // namespace

Tquilta::Tquilta(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::Tquilta>())
{
    quilta = this;
    ui_->setupUi(this);
    QFont form_font(QStringLiteral("MS Sans Serif"));
    form_font.setPixelSize(19);
    setFont(form_font);

    DBGrid1 = ui_->DBGrid1;
    DBNavigator1 = ui_->DBNavigator1;
    ToolBar1 = ui_->ToolBar1;
    ToolBar2 = ui_->ToolBar2;
    DataSource1 = new DatasetModel(Table1, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DBGrid1->set_data_source(DataSource1);
    DBNavigator1->set_data_source(DataSource1, DBGrid1);
    // Every window reads the current table and colours the grid through this link.
    set_main_window_link({&Table1, [this](const QString& field, const QColor& colour) {
                              if (DBGrid1) DBGrid1->set_column_color(field, colour);
                          },
                          &Query1});

    OpenDialog1.filter = QStringLiteral("*.db|*.db|*.dbf|*.dbf");
    SaveDialog1.filter = QStringLiteral("DB|*.DB|DBF|*.dbf");
    SaveDialog1.default_ext = QStringLiteral("DB");
    // Data preparation tests for an existing file itself.
    SaveDialog1.confirm_overwrite = false;

    build_tool_bars();

    ui::connect_guarded(ui_->Open1, &QAction::triggered, this, &Tquilta::Open1Click);
    ui::connect_guarded(ui_->Save1, &QAction::triggered, this, &Tquilta::Save1Click);
    ui::connect_guarded(ui_->Close1, &QAction::triggered, this, &Tquilta::Close1Click);
    ui::connect_guarded(ui_->Exit1, &QAction::triggered, this, &Tquilta::Exit1Click);
    ui::connect_guarded(ui_->Content1, &QAction::triggered, this, &Tquilta::Content1Click);
    ui::connect_guarded(ui_->N10, &QAction::triggered, this, &Tquilta::N10Click);
    ui::connect_guarded(ui_->N11, &QAction::triggered, this, &Tquilta::N11Click);
    for (const auto& l : launcher_items) {
        if (QAction* a = menu_item(QString::fromLatin1(l.item))) ui::connect_guarded(a, &QAction::triggered, this, l.handler);
    }
    update_launchers();

    ui::guarded(this, [this] { FormCreate(); });
}

Tquilta::~Tquilta()
{
    // The grid and its model go before the datasets they watch.
    delete takeCentralWidget();
    delete DataSource1;
    DataSource1 = nullptr;
    if (main_window_link().table == &Table1) set_main_window_link({});
    if (quilta == this) quilta = nullptr;
}

void Tquilta::build_tool_bars()
{
    QFont bar_font(QStringLiteral("宋体"));
    bar_font.setPixelSize(12);
    const struct {
        const char* name;
        QMenu* menu;
    } text_buttons[] = {
        {"ToolButton1", ui_->Flie1},
        {"ToolButton2", ui_->DataManagement1},
        {"ToolButton3", ui_->PopulationAnalysis1},
        {"ToolButton4", ui_->Graph1},
        {"ToolButton5", ui_->Help1},
    };
    for (const auto& tb : text_buttons) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(tb.name));
        b->setText(tb.menu->title());
        // The caption's letter belongs to the menu bar: Alt and the letter opens the menu at
        // once instead of first focusing the button.
        b->setShortcut(QKeySequence());
        b->setFont(bar_font);
        b->setMenu(tb.menu);
        b->setPopupMode(QToolButton::InstantPopup);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        b->setMinimumSize(91, 20);
        b->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
        ToolBar1->addWidget(b);
    }

    const struct {
        const char* name;
        const char* hint;
        const char* glyph;
        QColor color;
        void (Tquilta::*handler)();
    } image_buttons[] = {
        {"ToolButton6", "新建数据表", "新", QColor(60, 120, 200), &Tquilta::ToolButton6Click},
        {"ToolButton7", "打开数据表", "开", QColor(40, 150, 90), &Tquilta::ToolButton7Click},
        {"ToolButton8", "关闭数据表", "关", QColor(190, 70, 60), &Tquilta::ToolButton8Click},
        {"ToolButton9", "保存数据表", "存", QColor(90, 90, 170), &Tquilta::ToolButton9Click},
        {"ToolButton10", "人口预测向导", "向", QColor(200, 130, 30), &Tquilta::ToolButton10Click},
        {"ToolButton11", "单区域人口预测数据准备", "单", QColor(30, 140, 150), &Tquilta::ToolButton11Click},
        {"ToolButton12", "分城乡人口预测数据准备", "城", QColor(130, 80, 160), &Tquilta::ToolButton12Click},
    };
    for (const auto& ib : image_buttons) {
        auto* b = new QToolButton(ToolBar2);
        b->setObjectName(QString::fromLatin1(ib.name));
        b->setToolTip(QString::fromUtf8(ib.hint));
        b->setIcon(tile_icon(QString::fromUtf8(ib.glyph), ib.color));
        b->setAutoRaise(true);
        ToolBar2->addWidget(b);
        ui::connect_guarded(b, &QToolButton::clicked, this, ib.handler);
    }
}

QAction* Tquilta::menu_item(const QString& name) const { return findChild<QAction*>(name); }

void Tquilta::update_launchers()
{
    for (const auto& l : launcher_items) {
        QString item = QString::fromLatin1(l.item);
        if (QAction* a = menu_item(item)) a->setEnabled(window_registered(item));
    }
    if (auto* b = findChild<QToolButton*>(QStringLiteral("ToolButton6"))) b->setEnabled(window_registered("New1"));
    if (auto* b = findChild<QToolButton*>(QStringLiteral("ToolButton10"))) b->setEnabled(window_registered("N8"));
}

QStringList Tquilta::field_names() const { return field_name_list(Table1); }

bool Tquilta::check_table(const QString& message)
{
    if (table_open != 0) return true;
    ui::services().information(this, message);
    return false;
}

void Tquilta::commit_grid_editor()
{
    if (DBGrid1) DBGrid1->commit_editor();
}

void Tquilta::post_pending_edit()
{
    commit_grid_editor();
    if (Table1.active() && Table1.modified()) Table1.post();
}

void Tquilta::FormCreate()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    start_dir = QDir::currentPath();
}

// ---- the shared launch path ----

void Tquilta::launch(const QString& item, Check check, bool modal)
{
    if (check == Check::Table && !check_table(no_table_message)) return;
    if (check == Check::TableShort && !check_table(no_table_short_message)) return;
    WindowFactory factory = window_factory(item);
    if (!factory) return;  // the item stays disabled until its window is registered
    // The value being typed is written before the window reads, rewrites or reopens the table;
    // a write that fails is shown and the window does not open.
    post_pending_edit();
    QWidget* w = factory(*this);
    ui::show_window(w, modal);
}

void Tquilta::New1Click()
{
    if (!window_registered("New1")) return;
    structure_edit_mode = 1;
    launch("New1", Check::None);
}

void Tquilta::N8Click() { launch("N8", Check::None, false); }

void Tquilta::Table_infoClick() { launch("Table_info", Check::Table); }

void Tquilta::Restructure1Click()
{
    if (!check_table(no_table_short_message)) return;
    if (!window_registered("Restructure1")) return;
    structure_edit_mode = 2;
    launch("Restructure1", Check::None);
}

void Tquilta::Convert1Click() { launch("Convert1", Check::Table); }
void Tquilta::Compute1Click() { launch("Compute1", Check::Table); }
void Tquilta::N3Click() { launch("N3", Check::Table); }

void Tquilta::N4Click()
{
    if (!check_table(no_table_message)) return;
    WindowFactory factory = window_factory("N4");
    if (!factory) return;
    post_pending_edit();
    QWidget* w = factory(*this);
    un_index_mode = 2;
    ui::show_window(w, true);
}

void Tquilta::LifeTable1Click() { launch("LifeTable1", Check::Table); }
void Tquilta::N7Click() { launch("N7", Check::Table); }
void Tquilta::N12Click() { launch("N12", Check::Table); }
void Tquilta::Projection1Click() { launch("Projection1", Check::Table); }
void Tquilta::N6Click() { launch("N6", Check::Table); }
void Tquilta::Line1Click() { launch("Line1", Check::Table); }
void Tquilta::Bar1Click() { launch("Bar1", Check::Table); }
void Tquilta::HorizBar1Click() { launch("HorizBar1", Check::Table); }
void Tquilta::Point1Click() { launch("Point1", Check::Table); }
void Tquilta::Area1Click() { launch("Area1", Check::Table); }
void Tquilta::Scator1Click() { launch("Scator1", Check::Table); }
void Tquilta::AgePyrimider1Click() { launch("AgePyrimider1", Check::Table); }
void Tquilta::About1Click() { launch("About1", Check::None); }

void Tquilta::Simulation1Click()
{
    // The window is created before the check; without a table it stays hidden.
    WindowFactory factory = window_factory("Simulation1");
    if (!factory) return;
    post_pending_edit();
    QWidget* w = factory(*this);
    if (!check_table(no_table_message)) return;
    ui::show_window(w, true);
}

// ---- file commands ----

void Tquilta::Open1Click()
{
    post_pending_edit();
    if (!ui::services().open_dialog(this, OpenDialog1)) return;
    current_table_file = OpenDialog1.file_name;
    if (current_table_file.isEmpty()) return;
    OpenDialog1.file_name.clear();
    Table1.close();
    // Cleared before the open, so that a table that cannot be opened leaves no table open.
    table_open = 0;
    Table1.set_table_name(current_table_file.toStdString());
    Table1.open();
    table_open = 1;
}

void Tquilta::Save1Click() { post_pending_edit(); }

void Tquilta::Close1Click()
{
    post_pending_edit();
    Table1.close();
    table_open = 0;
}

void Tquilta::Exit1Click() { close(); }

void Tquilta::closeEvent(QCloseEvent* event)
{
    // What was typed is posted before the program ends; a post that fails is shown and the
    // window stays open with the edit.
    try {
        post_pending_edit();
    } catch (...) {
        ui::report_current_exception(this);
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) QCoreApplication::quit();
}

QString help_page_for(const QString& help_file)
{
    QFileInfo hlp(help_file);
    const QString page = hlp.completeBaseName() + QStringLiteral(".html");
    const QStringList candidates = {hlp.dir().filePath(page), QDir(QCoreApplication::applicationDirPath()).filePath(page)};
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
    return {};
}

void Tquilta::Content1Click()
{
    help_file = start_dir + QStringLiteral("/VORN.hlp");
    QString page = help_page_for(help_file);
    if (page.isEmpty()) {
        ui::services().information(this, QStringLiteral("找不到帮助文件：%1").arg(QDir::toNativeSeparators(
                                             QFileInfo(help_file).dir().filePath(QStringLiteral("VORN.html")))));
        return;
    }
    // The viewer reads the page whole: a page far larger than any help text is not shown.
    constexpr qint64 help_page_limit = qint64{1} << 20;
    if (QFileInfo(page).size() > help_page_limit) {
        ui::services().information(this, QStringLiteral("帮助文件太大，无法显示：%1").arg(QDir::toNativeSeparators(page)));
        return;
    }
    ui::services().show_help(this, page, QStringLiteral("contents"));
}

// ---- data preparation ----

void Tquilta::prepare_input_table(const std::string& fields)
{
    post_pending_edit();
    // A Cancel leaves the open table open; an accepted dialog closes it, whatever follows.
    if (!ui::services().save_dialog(this, SaveDialog1)) return;
    Table1.close();
    table_open = 0;
    const QString name = SaveDialog1.file_name;
    if (name.isEmpty()) return;
    if (QFileInfo::exists(name)) {
        ui::services().information(this, QStringLiteral(" 文件已存在，请输入新文件名."));
        return;
    }
    Query1.clear();
    Query1.add(create_input_table_statement(name.toStdString(), fields));
    Query1.exec_sql();
    current_table_file = name;
    Table1.set_table_name(current_table_file.toStdString());
    Table1.open();
    for (int k = 0; k <= input_table_last_age; ++k) {
        Table1.append();
        Table1.field(0).set_as_float(k);
        for (int j = 1; j < Table1.field_count(); ++j) Table1.field(j).set_as_float(0.0);
        Table1.post();
    }
    table_open = 1;
}

void Tquilta::N10Click() { prepare_input_table(single_region_fields); }
void Tquilta::N11Click() { prepare_input_table(urban_rural_fields); }

// ---- image tool bar ----

void Tquilta::ToolButton6Click() { New1Click(); }
void Tquilta::ToolButton7Click() { Open1Click(); }
void Tquilta::ToolButton8Click() { Close1Click(); }
void Tquilta::ToolButton9Click() { Save1Click(); }
void Tquilta::ToolButton10Click() { N8Click(); }
void Tquilta::ToolButton11Click() { N10Click(); }
void Tquilta::ToolButton12Click() { N11Click(); }

}  // namespace vantelo::shell
