// Runs the life-table and data-quality commands on a table and saves what their windows show as
// PNG files (run under xvfb-run):
//   analysis_screenshot <table file> <output prefix>
// writes <prefix>_life_form.png, _life_grid.png, _life_chart.png, _quality_form.png,
// _index.png and _un_index.png. The single-region sample table has the fields it uses.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "analysis/Data_quality_frm1.h"
#include "analysis/Index_result1.h"
#include "analysis/Life_table_frm1.h"
#include "analysis/Life_table_result1.h"
#include "analysis/UN_sex_age1.h"
#include "analysis/analysis_launchers.h"
#include "charts/Graph_1.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/scripted_services.h"
#include "shell/fonts.h"
#include "shell/menu.h"

namespace {

void snap(QWidget* w, const QString& file, QSize size = {})
{
    if (size.isValid()) w->resize(size);
    w->show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    w->grab().save(file);
}

template <class W>
W* child(QWidget* w, const char* name)
{
    return w->findChild<W*>(QString::fromLatin1(name));
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace vantelo;
    ui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantelo"));
    if (argc < 3) return 2;
    shell::install_font_substitutions();
    analysis::register_analysis_windows();
    shell::Tquilta main;
    main.update_launchers();
    ui::ScopedScriptedServices svc;
    svc.open_answers.push_back(QString::fromLocal8Bit(argv[1]));
    main.Open1Click();
    const QString prefix = QString::fromLocal8Bit(argv[2]);

    ui::ScopedWindowRunner runner([&](QWidget* w, bool) -> int {
        if (auto* f = qobject_cast<TLife_table_frm*>(w)) {
            child<QLineEdit>(f, "Edit6")->setText(QStringLiteral("男性死亡率"));
            child<QRadioButton>(f, "RadioButton5")->setChecked(true);
            snap(f, prefix + "_life_form.png");
            child<QPushButton>(f, "BitBtn1")->click();
        } else if (auto* r = qobject_cast<TLife_table_result*>(w)) {
            snap(r, prefix + "_life_grid.png");
            child<QPushButton>(r, "BitBtn3")->click();
        } else if (auto* g = qobject_cast<charts::TGraph*>(w)) {
            snap(g, prefix + "_life_chart.png", QSize(900, 600));
        } else if (auto* q = qobject_cast<TData_quality_frm*>(w)) {
            child<QListWidget>(q, "ListBox2")->setCurrentRow(1);
            emit child<QListWidget>(q, "ListBox2")->clicked({});
            child<QRadioButton>(q, "RadioButton2")->setChecked(true);
            snap(q, prefix + "_quality_form.png");
            child<QRadioButton>(q, "RadioButton1")->setChecked(true);
            child<QPushButton>(q, "BitBtn1")->click();
        } else if (auto* u = qobject_cast<TUN_sex_age_frm*>(w)) {
            child<QLineEdit>(u, "Edit1")->setText(QStringLiteral("男性人口"));
            child<QLineEdit>(u, "Edit2")->setText(QStringLiteral("女性人口"));
            child<QPushButton>(u, "BitBtn2")->click();
        } else if (auto* i = qobject_cast<TIndex_Result_frm*>(w)) {
            snap(i, prefix + (UN_sex_age_frm ? "_un_index.png" : "_index.png"));
        }
        w->hide();
        return 0;
    });
    main.menu_item(QStringLiteral("LifeTable1"))->trigger();
    main.menu_item(QStringLiteral("N3"))->trigger();
    main.menu_item(QStringLiteral("N4"))->trigger();
    for (const QString& m : svc.message_texts()) qWarning("message: %s", qPrintable(m));
    return 0;
}
