// Field computation: the operator lists, one record's result, and whole passes over real tables
// of both formats.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/db/dataset.h"
#include "shell/engine/field_compute.h"
#include "shell/input_tables.h"
#include "tests/db_common/temp_table_dir.h"

namespace vantelo::shell {
namespace {

TEST(FieldCompute, OperatorsAreFoundByTheirExactText)
{
    EXPECT_EQ(list_item_for_text(arithmetic_operators, "+"), 0);
    EXPECT_EQ(list_item_for_text(arithmetic_operators, "-"), 1);
    EXPECT_EQ(list_item_for_text(arithmetic_operators, "*"), 2);
    EXPECT_EQ(list_item_for_text(arithmetic_operators, "/"), 3);
    EXPECT_EQ(list_item_for_text(arithmetic_operators, "x"), -1);
    EXPECT_EQ(list_item_for_text(arithmetic_operators, " *"), -1);
    EXPECT_EQ(list_item_for_text(arithmetic_operators, ""), -1);
    EXPECT_EQ(list_item_for_text(transform_operators, "ABS()"), 0);
    EXPECT_EQ(list_item_for_text(transform_operators, "Ln()"), 1);
    EXPECT_EQ(list_item_for_text(transform_operators, "%"), 3);
    EXPECT_EQ(list_item_for_text(transform_operators, "Round()"), 10);
    EXPECT_EQ(list_item_for_text(transform_operators, "abs()"), -1);
    EXPECT_EQ(list_item_for_text(transform_operators, "1/100"), -1);
    EXPECT_EQ(transform_operators.size(), 11u);
}

TEST(FieldCompute, OneRecordByHand)
{
    const struct {
        const char* name;
        ComputeMode mode;
        int op;
        real a, b, expected;
    } cases[] = {
        {"a+b", ComputeMode::Arithmetic, 0, 3, 4, 7},
        {"a-b", ComputeMode::Arithmetic, 1, 3, 4, -1},
        {"a*b", ComputeMode::Arithmetic, 2, 9, 9, 81},
        {"a/b", ComputeMode::Arithmetic, 3, 1, 4, 0.25},
        {"copy", ComputeMode::Replace, 0, -2.5, 99, -2.5},
        {"abs", ComputeMode::Transform, 0, -1.5, 0, 1.5},
        {"ln e^2", ComputeMode::Transform, 1, std::exp(2.0L), 0, 2},
        {"1/10", ComputeMode::Transform, 2, 25, 0, 2.5},
        {"%", ComputeMode::Transform, 3, 50, 0, 0.5},
        {"1/1000", ComputeMode::Transform, 4, 5, 0, 0.005L},
        {"*10", ComputeMode::Transform, 5, 0.25, 0, 2.5},
        {"*100", ComputeMode::Transform, 6, 0.25, 0, 25},
        {"*1000", ComputeMode::Transform, 7, -0.25, 0, -250},
        {"1/X", ComputeMode::Transform, 8, 4, 0, 0.25},
        {"exp 0", ComputeMode::Transform, 9, 0, 0, 1},
        {"round 2.5", ComputeMode::Transform, 10, 2.5, 0, 2},
        {"round 3.5", ComputeMode::Transform, 10, 3.5, 0, 4},
        {"round 0.5", ComputeMode::Transform, 10, 0.5, 0, 0},
        {"round -2.5", ComputeMode::Transform, 10, -2.5, 0, -2},
        {"round 2.6", ComputeMode::Transform, 10, 2.6, 0, 3},
    };
    for (const auto& c : cases) {
        real r = -12345;
        ASSERT_TRUE(compute_value(c.mode, c.op, c.a, c.b, r)) << c.name;
        EXPECT_NEAR(static_cast<double>(r), static_cast<double>(c.expected), 1e-15) << c.name;
    }
    real r = 0;
    EXPECT_TRUE(compute_value(ComputeMode::Transform, 9, 1, 0, r));
    EXPECT_EQ(to_double(r), 2.718281828459045);
}

TEST(FieldCompute, OperandsWithoutAResult)
{
    real r = 7;
    EXPECT_FALSE(compute_value(ComputeMode::Arithmetic, 3, 5, 0, r));
    EXPECT_FALSE(compute_value(ComputeMode::Arithmetic, 3, 0, 0, r));
    EXPECT_FALSE(compute_value(ComputeMode::Transform, 1, 0, 0, r));
    EXPECT_FALSE(compute_value(ComputeMode::Transform, 1, -1, 0, r));
    EXPECT_FALSE(compute_value(ComputeMode::Transform, 8, 0, 0, r));
    EXPECT_EQ(r, 7);
    // Beyond the extended range: the overflow error, never an infinity.
    EXPECT_THROW(compute_value(ComputeMode::Transform, 9, 20000, 0, r), FpOverflowError);
}

// The single-region input table as data preparation makes it: 81 records, 年龄 = k, the rest 0.
class ComputePass : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        path = dir.path(std::string("single") + GetParam());
        db::execute_statement(create_input_table_statement(path, single_region_fields));
        t.set_table_name(path);
        t.open();
        for (int k = 0; k <= input_table_last_age; ++k) {
            t.append();
            t.field(0).set_as_float(k);
            for (int j = 1; j < t.field_count(); ++j) t.field(j).set_as_float(0.0);
            t.post();
        }
    }
    ComputeOutcome run(ComputeMode mode, const std::string& target, const std::string& a, const std::string& b, int op)
    {
        FieldComputation c;
        c.mode = mode;
        c.target = target;
        c.a = a;
        c.b = b;
        c.operation = op;
        return compute_field(t, c);
    }
    // A column as read back from the file by a dataset of its own.
    std::vector<double> column(const std::string& name)
    {
        db::Dataset r;
        r.set_table_name(path);
        r.open();
        std::vector<double> out;
        for (r.first(); !r.eof(); r.next()) out.push_back(r.field_by_name(name).as_float());
        return out;
    }
    db::test_common::TempTableDir dir;
    std::string path;
    db::Dataset t;
};

TEST_P(ComputePass, ArithmeticOverEveryRecord)
{
    ComputeOutcome out = run(ComputeMode::Arithmetic, "男性人口", "年龄", "年龄", 2);
    EXPECT_FALSE(out.data_error);
    auto m = column("男性人口");
    ASSERT_EQ(m.size(), 81u);
    for (int k = 0; k <= 80; ++k) EXPECT_EQ(m[k], k * k) << k;
    EXPECT_EQ(m[9], 81);
    EXPECT_EQ(m[80], 6400);
    run(ComputeMode::Arithmetic, "女性人口", "年龄", "年龄", 0);
    EXPECT_EQ(column("女性人口")[80], 160);
    // Field names are found without regard to case; the target may be an operand.
    run(ComputeMode::Arithmetic, "女性人口", "女性人口", "年龄", 1);
    EXPECT_EQ(column("女性人口")[80], 80);
    run(ComputeMode::Replace, "女性死亡率", "女性人口", "", 0);
    EXPECT_EQ(column("女性死亡率")[33], 33);
}

TEST_P(ComputePass, DivisionByZeroStopsAtTheFirstRecordWithNothingChanged)
{
    const std::string before = db::test_common::file_text(path);
    ComputeOutcome out = run(ComputeMode::Arithmetic, "女性人口", "年龄", "男性死亡率", 3);
    EXPECT_TRUE(out.data_error);
    EXPECT_EQ(out.record, 0);
    EXPECT_EQ(db::test_common::file_text(path), before);
    // Stopping part way: records before the failing one keep their new values.
    run(ComputeMode::Arithmetic, "男性死亡率", "年龄", "年龄", 1);   // all 0
    t.move_to(40);
    t.edit();
    t.field_by_name("男性死亡率").set_as_float(0);
    t.post();
    // 男性死亡率 := 年龄 - 40 makes it 0 only at record 40.
    for (int k = 0; k <= 80; ++k) {
        t.move_to(k);
        t.edit();
        t.field_by_name("男性死亡率").set_as_float(k - 40);
        t.post();
    }
    out = run(ComputeMode::Arithmetic, "女性人口", "年龄", "男性死亡率", 3);
    EXPECT_TRUE(out.data_error);
    EXPECT_EQ(out.record, 40);
    auto f = column("女性人口");
    EXPECT_DOUBLE_EQ(f[0], 0.0 / -40);
    EXPECT_DOUBLE_EQ(f[39], 39.0 / -1);
    EXPECT_EQ(f[40], 0);
    EXPECT_EQ(f[80], 0);
}

TEST_P(ComputePass, TransformsAndRoundingIntoIntegerAndTextFields)
{
    run(ComputeMode::Transform, "男性死亡率", "年龄", "", 2);
    auto m = column("男性死亡率");
    EXPECT_EQ(m[25], 2.5);
    EXPECT_EQ(m[7], 0.7);
    run(ComputeMode::Transform, "女性死亡率", "男性死亡率", "", 10);
    auto f = column("女性死亡率");
    EXPECT_EQ(f[5], 0);
    EXPECT_EQ(f[15], 2);
    EXPECT_EQ(f[25], 2);
    EXPECT_EQ(f[35], 4);
    // An integer target takes whole numbers, halves to the even neighbour.
    run(ComputeMode::Replace, "年龄", "男性死亡率", "", 0);
    auto age = column("年龄");
    EXPECT_EQ(age[15], 2);
    EXPECT_EQ(age[25], 2);
    EXPECT_EQ(age[35], 4);
    EXPECT_EQ(age[36], 4);
}

TEST_P(ComputePass, OverflowKeepsTheRecordsBeforeIt)
{
    run(ComputeMode::Arithmetic, "男性人口", "年龄", "年龄", 2);    // k^2
    run(ComputeMode::Arithmetic, "女性人口", "年龄", "年龄", 0);    // 2k
    auto f = column("女性人口");
    if (std::string(GetParam()) == ".db") {
        // e^(k^2) into a Paradox number (a double): e^676 fits, e^729 is beyond the double range.
        EXPECT_THROW(run(ComputeMode::Transform, "女性人口", "男性人口", "", 9), FpOverflowError);
        f = column("女性人口");
        EXPECT_EQ(f[0], 1);
        EXPECT_EQ(f[1], 2.718281828459045);
        EXPECT_NEAR(f[26] / std::exp(676.0), 1, 1e-15);
        EXPECT_EQ(f[27], 54);   // unchanged from here on
        EXPECT_EQ(f[80], 160);
    } else {
        // A dBASE float field is N(20,10): nine whole digits. e^25 (record 5) does not fit, and
        // is refused at that record as a write-through would refuse it.
        try {
            run(ComputeMode::Transform, "女性人口", "男性人口", "", 9);
            ADD_FAILURE() << "no error";
        } catch (const EngineError& e) {
            EXPECT_STREQ(e.what(), "Value out of range for field '女性人口'");
        }
        f = column("女性人口");
        EXPECT_EQ(f[0], 1);
        EXPECT_EQ(f[1], 2.7182818285);
        EXPECT_EQ(f[4], 8886110.5205078721);   // e^16 to ten decimals
        EXPECT_EQ(f[5], 10);
        EXPECT_EQ(f[80], 160);
    }
    EXPECT_FALSE(t.in_batch());
    EXPECT_EQ(t.state(), db::Dataset::State::Browse);
}

TEST_P(ComputePass, LogarithmOfZeroAndUnknownFieldsChangeNothing)
{
    const std::string before = db::test_common::file_text(path);
    ComputeOutcome out = run(ComputeMode::Transform, "男性人口", "年龄", "", 1);
    EXPECT_TRUE(out.data_error);
    EXPECT_EQ(out.record, 0);
    try {
        run(ComputeMode::Arithmetic, "zz", "年龄", "年龄", 0);
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "Field 'zz' not found");
    }
    // In 替换 and 变换 the second operand is never read.
    run(ComputeMode::Transform, "男性人口", "年龄", "no such field", 0);
    EXPECT_EQ(column("男性人口")[3], 3);
    (void)before;
}

TEST_P(ComputePass, EmptyTableIsLeftAlone)
{
    db::Dataset e;
    const std::string p = dir.path(std::string("empty") + GetParam());
    db::execute_statement(create_input_table_statement(p, single_region_fields));
    e.set_table_name(p);
    e.open();
    const std::string before = db::test_common::file_text(p);
    FieldComputation c;
    c.target = "zz";
    c.a = "zz";
    c.b = "zz";
    EXPECT_FALSE(compute_field(e, c).data_error);
    EXPECT_EQ(db::test_common::file_text(p), before);
}

INSTANTIATE_TEST_SUITE_P(Formats, ComputePass, testing::Values(".db", ".dbf"),
                         [](const auto& info) { return std::string(info.param) == ".db" ? "Paradox" : "dBASE"; });

}  // namespace
}  // namespace vantelo::shell
