// What every window uses of the main window: the current table read as columns of reals, the
// grid's column colours, and new result columns written into the table.
#include <fstream>
#include <iterator>

#include "tests/common/error_text.h"
#include "platform/db/dataset.h"
#include "shell/dataset_model.h"
#include "shell/main_table.h"
#include "shell/result_columns.h"
#include "shell_test_util.h"

namespace vantelo::shell::testing {
namespace {

using test_errors::error_text;
using SharedPieces = MainWindowTest;

// A table of the program's own with one text field.
void write_text_table(const QString& file)
{
    db::execute_statement("Create table \"" + file.toStdString() + "\" (名称 Char(8),数 Float)");
    db::Dataset w;
    w.set_table_name(file.toStdString());
    w.open();
    const char* rows[][2] = {{"12.5", "1"}, {"", "2"}, {"abc", ""}};
    for (auto& r : rows) {
        w.append();
        w.field(0).set_as_string(r[0]);
        w.field(1).set_as_string(r[1]);
        w.post();
    }
    w.close();
}

TEST_F(SharedPieces, AnyWindowReadsTheMainWindowsTable)
{
    // The link is lent by the main window when it is built, not by a launcher.
    EXPECT_EQ(main_window_link().table, &win->Table1);
    EXPECT_EQ(main_table_field_count(), 0);  // nothing open yet
    write_text_table(path("t.db"));
    open(path("t.db"));
    EXPECT_EQ(main_table_field_names(), (QStringList{"名称", "数"}));
    EXPECT_EQ(main_table_column("数"), (std::vector<double>{1, 2, 0}));  // empty reads 0
}

TEST_F(SharedPieces, StrictReadRefusesEmptyAndNonNumericFields)
{
    write_text_table(path("t.db"));
    open(path("t.db"));
    EXPECT_EQ(error_text([] { main_table_column_strict("数"); }), "Invalid variant type conversion");  // record 2 empty
    EXPECT_EQ(error_text([] { main_table_column_strict("名称"); }), "Invalid variant type conversion");
    EXPECT_EQ(error_text([] { main_table_column("名称"); }), "'abc' is not a valid floating point value");
    EXPECT_EQ(error_text([] { main_table_column_strict("其他"); }), "Field '其他' not found");
}

TEST_F(SharedPieces, TheLinkGoesWithTheMainWindow)
{
    win.reset();
    EXPECT_EQ(main_window_link().table, nullptr);
    EXPECT_EQ(main_table_field_count(), 0);
    EXPECT_EQ(error_text([] { main_table_column("x"); }), "Dataset is not open");
}

TEST_F(SharedPieces, GridColoursResetToWhite)
{
    prepare(path("in.db"));
    set_main_grid_column_colour(2, QColor(255, 0, 0));
    set_main_grid_column_colour(99, QColor(255, 0, 0));  // no such column: ignored
    EXPECT_EQ(win->DataSource1->column_color(2), QColor(255, 0, 0));
    reset_main_grid_colours();
    for (int c = 0; c < win->Table1.field_count(); ++c) EXPECT_EQ(win->DataSource1->column_color(c), QColor(255, 255, 255)) << c;
}

// ---- new result columns ----

// A file's bytes.
std::string db_test_bytes(const QString& file)
{
    std::ifstream in(file.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The values of a field read by a dataset of its own, record by record.
std::vector<double> read_back(const QString& file, const std::string& field)
{
    db::Dataset t;
    t.set_table_name(file.toStdString());
    t.open();
    std::vector<double> out;
    for (int i = 0; i < t.record_count(); ++i) out.push_back(std::get<double>(t.value_at(i, t.find_field(field))));
    return out;
}

class ResultColumns : public MainWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ResultColumns, AddedFilledAndReadBack)
{
    const QString file = path(QString::fromLatin1(GetParam()));
    prepare(file);
    std::vector<std::string> statements;
    win->Query1.on_execute = [&](const std::string& s) { statements.push_back(s); };
    const int n = win->Table1.record_count();  // 81 ages
    // Rounded to whole numbers, half to even.
    std::vector<double> male(static_cast<size_t>(n), 7.0), female(static_cast<size_t>(n), -3.0);
    male[0] = 2.5;
    male[1] = 3.5;
    male[2] = 1234567.49;
    female[0] = -0.5;
    female[1] = -1.5;
    female[80] = 0.5000001;
    ASSERT_TRUE(check_new_column_names(win.get(), {"Smale01", "Sfemale01"}));
    add_result_columns({{"Smale01", male}, {"Sfemale01", female}});

    const std::string quoted = "\"" + file.toStdString() + "\"";
    EXPECT_EQ(statements, (std::vector<std::string>{"alter table " + quoted + " Add Smale01 Float",
                                                    "alter table " + quoted + " Add Sfemale01 Float"}));
    EXPECT_TRUE(win->Table1.active());
    EXPECT_EQ(table_open, 1);
    std::vector<double> m = read_back(file, "Smale01"), f = read_back(file, "Sfemale01");
    ASSERT_EQ(m.size(), 81u);
    ASSERT_EQ(f.size(), 81u);
    EXPECT_EQ(m[0], 2);
    EXPECT_EQ(m[1], 4);
    EXPECT_EQ(m[2], 1234567);
    EXPECT_EQ(m[80], 7);
    EXPECT_EQ(f[0], 0);
    EXPECT_EQ(f[1], -2);
    EXPECT_EQ(f[2], -3);
    EXPECT_EQ(f[80], 1);
    EXPECT_EQ(male[0], 2.5);  // the arrays keep their unrounded values
    // The fields that were there are untouched: age x in record x.
    EXPECT_EQ(main_table_column("年龄")[80], 80);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, ResultColumns, ::testing::Values("in.db", "in.dbf"),
                         [](const auto& info) { return std::string(info.index == 0 ? "Paradox" : "dBASE"); });

TEST_F(SharedPieces, ExistingNamesAreComparedExactly)
{
    prepare(path("in.db"));
    // A name differing only in letter case passes; an empty name passes.
    EXPECT_TRUE(check_new_column_names(win.get(), {"年龄x", "", "Abc"}));
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_FALSE(check_new_column_names(win.get(), {"new1", "女性人口", "男性人口"}));
    // The fields are visited in table order: 男性人口 comes before 女性人口.
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.messages[0].text, "男性人口变量已存在，请输入新的变量名.");
}

TEST_F(SharedPieces, AFailureAddsNoColumnAndLeavesTheTableOpen)
{
    write_text_table(path("t.db"));
    open(path("t.db"));
    const std::string before = db_test_bytes(path("t.db"));
    std::vector<double> v = {1, 2, 3};
    std::vector<double> short_values = {1, 2};
    const struct {
        const char* label;
        std::vector<ResultColumn> columns;
        const char* reason;
    } cases[] = {
        // The engine refuses the second column (a field of that name exists): not even the
        // first is added.
        {"an existing name", {{"R1", v}, {"数", v}}, "Duplicate field name '数'"},
        {"too few values", {{"R2", short_values}}, "Range check error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(error_text([&] { add_result_columns(c.columns); }),
                  std::string("新变量未能写入表中: ") + c.reason + "\n没有添加任何变量.")
            << c.label;
        EXPECT_TRUE(win->Table1.active()) << c.label;
        EXPECT_EQ(table_open, 1) << c.label;
        EXPECT_EQ(main_table_field_names(), (QStringList{"名称", "数"})) << c.label;
        EXPECT_EQ(db_test_bytes(path("t.db")), before) << c.label;
    }
}

// Another program changed the table after it was opened: the columns are refused, the other
// program's value stays, and the table is shown again as the file holds it.
TEST_F(SharedPieces, ATableChangedSinceItWasOpenedGetsNoColumn)
{
    write_text_table(path("t.db"));
    open(path("t.db"));
    {
        db::Dataset other;
        other.set_table_name(path("t.db").toStdString());
        other.open();
        other.edit();
        other.field(1).set_as_float(99);
        other.post();
    }
    std::vector<double> v = {1, 2, 3};
    const std::string error = error_text([&] { add_result_columns({{"R1", v}}); });
    EXPECT_EQ(error.rfind("新变量未能写入表中: ", 0), 0u) << error;
    EXPECT_NE(error.find(db::changed_file_message), std::string::npos) << error;
    EXPECT_NE(error.find("\n没有添加任何变量."), std::string::npos) << error;
    EXPECT_EQ(main_table_field_names(), (QStringList{"名称", "数"}));
    EXPECT_EQ(win->Table1.value_at(0, 1), db::Value(99.0));
}

}  // namespace
}  // namespace vantelo::shell::testing
