// The sample tables open in the main window with the layouts and totals they were made with.
#include "platform/db/dbase.h"
#include "shell/dataset_model.h"
#include "shell_test_util.h"

namespace vantelo::shell::testing {
namespace {

using Samples = MainWindowTest;

TEST_F(Samples, OpenInTheMainWindowWithTheirLayoutsAndTotals)
{
    const struct {
        const char* file;
        int fields;
        double population;
        std::vector<int> fertility_columns;
    } cases[] = {
        {"single_region.DB", 6, 1000000, {5}},
        {"single_region.dbf", 6, 1000000, {5}},
        {"urban_rural.DB", 11, 1000000, {5, 10}},
        {"urban_rural.dbf", 11, 1000000, {5, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        open(QStringLiteral(VANTELO_SAMPLES_DIR "/") + c.file);
        ASSERT_TRUE(svc.messages.empty());
        ASSERT_EQ(table_open, 1);
        EXPECT_EQ(win->DataSource1->rowCount(), 81);
        ASSERT_EQ(win->DataSource1->columnCount(), c.fields);
        db::Dataset& t = win->Table1;
        double people = 0;
        std::vector<double> tfr(c.fertility_columns.size(), 0);
        int age = 0;
        for (t.first(); !t.eof(); t.next(), ++age) {
            EXPECT_EQ(t.field(0).as_float(), age);
            for (int j = 1; j < c.fields; ++j) {
                double v = t.field(j).as_float();
                EXPECT_GE(v, 0);
                if ((j - 1) % 5 < 2) people += v;                 // populations
                if ((j - 1) % 5 == 2 || (j - 1) % 5 == 3) EXPECT_LT(v, 1.0);  // death rates
            }
            for (std::size_t k = 0; k < tfr.size(); ++k) tfr[k] += t.field(c.fertility_columns[k]).as_float();
        }
        // The whole persons of every table add up to its stated total exactly.
        EXPECT_EQ(people, c.population);
        for (double v : tfr) {
            EXPECT_GT(v, 1.4);
            EXPECT_LT(v, 1.8);
        }
        win->Close1Click();
    }
}

}  // namespace
}  // namespace vantelo::shell::testing
