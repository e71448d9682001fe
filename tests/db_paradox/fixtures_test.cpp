// Real Paradox files written by other software: every one opens (or is refused where it
// must be) and agrees with pxlib on names, types, counts and values.
#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>
}

#include <climits>
#include <cmath>
#include <string>

#include "platform/core/errors.h"
#include "platform/db/encoding.h"
#include "platform/db/paradox.h"
#include "pxlib_reader.h"
#include "test_util.h"

using namespace vantelo;
using namespace vantelo::db;

namespace {

const std::string kDir = std::string(VANTELO_FIXTURES_DIR) + "/paradox/";

// pxlib's type codes and the logical types they stand for.
FieldType expected_type(int px_type)
{
    switch (px_type) {
    case pxfAlpha: return FieldType::String;
    case pxfShort: return FieldType::SmallInt;
    case pxfLong: case pxfAutoInc: return FieldType::Integer;
    case pxfNumber: return FieldType::Float;
    case pxfCurrency: return FieldType::Currency;
    case pxfDate: return FieldType::Date;
    case pxfLogical: return FieldType::Boolean;
    default: return FieldType::Other;
    }
}

std::string date_text(const Date& d)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

bool plain_decimal(const std::string& s)
{
    for (char c : s)
        if (!(c == '-' || c == '.' || (c >= '0' && c <= '9'))) return false;
    return true;
}

template <class T, class F>
void expect_value(const Value& v, F check)
{
    if (const T* x = std::get_if<T>(&v)) check(*x);
    else ADD_FAILURE() << "value of another kind (index " << v.index() << ")";
}

// Compares one cell of ours with pxlib's reading of it.
void compare_cell(const pxtest::PxField& pf, const pxtest::PxCell& pc, const Value& v, int cp, const std::string& where)
{
    SCOPED_TRACE(where);
    switch (pf.type) {
    case pxfAlpha:
        if (pc.null || pc.s.empty()) EXPECT_TRUE(is_null(v));
        else expect_value<std::string>(v, [&](const std::string& x) { EXPECT_EQ(x, decode(pc.s.c_str(), cp)); });
        break;
    case pxfShort: case pxfLong: case pxfAutoInc:
        // pxlib reads a blank long as INT_MIN.
        if (pc.null || pc.l == INT_MIN) EXPECT_TRUE(is_null(v));
        else expect_value<std::int64_t>(v, [&](const std::int64_t& x) { EXPECT_EQ(x, pc.l); });
        break;
    case pxfNumber: case pxfCurrency:
        if (pc.null) EXPECT_TRUE(is_null(v));
        else expect_value<double>(v, [&](const double& x) { EXPECT_EQ(x, pc.d); });
        break;
    case pxfLogical:
        if (pc.null) EXPECT_TRUE(is_null(v));
        else expect_value<bool>(v, [&](const bool& x) { EXPECT_EQ(x, pc.l != 0); });
        break;
    case pxfDate:
        if (pc.text.empty()) EXPECT_TRUE(is_null(v));
        else expect_value<Date>(v, [&](const Date& x) { EXPECT_EQ(date_text(x), pc.text); });
        break;
    case pxfTime: case pxfTimestamp:
        // pxlib reads a blank time as INT_MIN and a blank timestamp as 0.
        if (pc.text.empty()) EXPECT_TRUE(is_null(v));
        else expect_value<std::string>(v, [&](const std::string& x) { EXPECT_EQ(x, pc.text); });
        break;
    case pxfBCD: {
        if (pc.null) {
            EXPECT_TRUE(is_null(v));
            break;
        }
        std::string px = pc.s.c_str();
        if (!plain_decimal(px)) break;   // pxlib prints filler nibbles as punctuation; checked by hand below
        if (!px.empty() && px.back() == '.') px.pop_back();
        ASSERT_TRUE(std::holds_alternative<std::string>(v));
        EXPECT_EQ(std::get<std::string>(v), px);
        break;
    }
    case pxfMemoBLOb:
        // pxlib gives "" for a text it cannot reach without the memo file; those are checked
        // by hand below.
        if (pc.null) EXPECT_TRUE(is_null(v));
        else if (!pc.failed && !pc.s.empty())
            expect_value<std::string>(v, [&](const std::string& x) { EXPECT_EQ(x, decode(pc.s, cp)); });
        break;
    default:
        // Bytes and binary kinds are shown empty.
        EXPECT_TRUE(is_null(v));
        break;
    }
}

struct FixtureCase {
    const char* file;
    bool read_only;
    const char* reason;   // part of the read-only reason
};

class Fixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(Fixture, AgreesWithPxlib)
{
    const FixtureCase& c = GetParam();
    const std::string path = kDir + c.file;
    TableData ours = read_paradox(path);
    pxtest::PxTable px = pxtest::px_read(path);

    EXPECT_EQ(ours.read_only, c.read_only) << ours.read_only_reason;
    EXPECT_NE(ours.read_only_reason.find(c.reason), std::string::npos) << ours.read_only_reason;
    const int cp = px.version >= 40 && px.code_page != 0 ? px.code_page : 936;
    EXPECT_EQ(ours.code_page, cp);
    ASSERT_EQ(ours.fields.size(), px.fields.size());
    for (std::size_t i = 0; i < px.fields.size(); ++i) {
        EXPECT_EQ(ours.fields[i].name, decode(px.fields[i].name, cp));
        EXPECT_EQ(ours.fields[i].type, expected_type(px.fields[i].type)) << ours.fields[i].name;
        if (px.fields[i].type == pxfAlpha) {
            EXPECT_EQ(ours.fields[i].size, px.fields[i].len);
        }
    }
    ASSERT_EQ(ours.records.size(), static_cast<std::size_t>(px.num_records));
    for (std::size_t r = 0; r < ours.records.size(); ++r)
        for (std::size_t i = 0; i < px.fields.size(); ++i)
            compare_cell(px.fields[i], px.records[r][i], ours.records[r][i], cp,
                         std::string(c.file) + " record " + std::to_string(r) + " field " + ours.fields[i].name);
}

INSTANTIATE_TEST_SUITE_P(
    RealFiles, Fixture,
    ::testing::Values(FixtureCase{"AREACODES.DB", true, "keyed"}, FixtureCase{"CUSTOMER.DB", true, "keyed"},
                      FixtureCase{"DECIMAL.DB", false, ""}, FixtureCase{"ROMAN8.db", false, ""},
                      FixtureCase{"bcd.db", true, "BCD"}, FixtureCase{"bytes.db", true, "bytes"},
                      FixtureCase{"date35.db", false, ""}, FixtureCase{"date4.db", false, ""},
                      FixtureCase{"date5.db", true, "time"}, FixtureCase{"date7.db", true, "time"},
                      FixtureCase{"logical.db", false, ""}, FixtureCase{"long.db", true, "keyed"},
                      FixtureCase{"memo.db", true, "memo"}, FixtureCase{"time.db", true, "time"},
                      FixtureCase{"timestamp.db", true, "timestamp"}),
    [](const auto& info) {
        std::string n = info.param.file;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(ParadoxFixtures, LevelThreeTableAgreesWithPxlib)
{
    // date35.db with its version byte set to level 3 (same layout).
    const std::string path = std::string(VANTELO_TEST_DATA_DIR) + "/paradox/level3.db";
    TableData ours = read_paradox(path);
    pxtest::PxTable px = pxtest::px_read(path);
    EXPECT_EQ(px.version, 30);
    ASSERT_EQ(ours.records.size(), 3u);
    for (std::size_t r = 0; r < 3; ++r) compare_cell(px.fields[0], px.records[r][0], ours.records[r][0], 936, "level 3");
    EXPECT_EQ(std::get<Date>(ours.records[0][0]), (Date{2018, 1, 1}));
}

TEST(ParadoxFixtures, EncryptedTableIsRefused)
{
    try {
        read_paradox(kDir + "encrypted.db");
        FAIL() << "no error";
    } catch (const EngineError& e) {
        std::string m = e.what();
        EXPECT_EQ(m.rfind("encrypted.db: ", 0), 0u) << m;
        EXPECT_NE(m.find("encrypted (password-protected)"), std::string::npos) << m;
    }
}

// Values derived by hand from the bytes of the files (where pxlib cannot serve).
TEST(ParadoxFixtures, MemoTextComesFromTheMemoFile)
{
    TableData t = read_paradox(kDir + "memo.db");
    ASSERT_EQ(t.records.size(), 2u);
    // Record 1's memo pointer is entry 0x3F of the suballocated block at 0x1000 of memo.mb:
    // 555 bytes starting at 0x1150.
    auto mb = pxtest::file_bytes(kDir + "memo.mb");
    ASSERT_GE(mb.size(), 0x1150u + 555u);
    std::string expected(reinterpret_cast<const char*>(mb.data()) + 0x1150, 555);
    EXPECT_EQ(std::get<std::string>(t.records[0][1]), expected);
    // Record 2's 12 bytes lie in the record itself.
    EXPECT_EQ(std::get<std::string>(t.records[1][1]), "01234567890\n");
    EXPECT_EQ(std::get<std::int64_t>(t.records[1][0]), 2);
}

TEST(ParadoxFixtures, MissingMemoFileLeavesLongTextsEmpty)
{
    TableData t = read_paradox(kDir + "CUSTOMER.DB");
    ASSERT_EQ(t.records.size(), 20u);
    EXPECT_EQ(std::get<std::string>(t.records[0][8]), "Small comment (less 100 symbols)");
    for (int r = 1; r <= 4; ++r) EXPECT_TRUE(is_null(t.records[r][8])) << r;
    EXPECT_NE(t.read_only_reason.find("memo file is missing"), std::string::npos) << t.read_only_reason;
}

TEST(ParadoxFixtures, BcdDigitsEndAtTheFirstFillerNibble)
{
    TableData t = read_paradox(kDir + "bcd.db");
    ASSERT_EQ(t.records.size(), 3u);
    // Field C has 32 decimals; its digits run 1229999999999999980 then nibbles B, E, F, A.
    EXPECT_EQ(std::get<std::string>(t.records[0][2]), "0.1229999999999999980");
    EXPECT_EQ(std::get<std::string>(t.records[1][2]), "-0.1229999999999999980");
    EXPECT_EQ(std::get<std::string>(t.records[2][2]), "0.9999000000000000118");
    EXPECT_EQ(std::get<std::string>(t.records[0][0]), "1.23");
    EXPECT_EQ(std::get<std::string>(t.records[1][1]), "-1");
    EXPECT_TRUE(is_null(t.records[2][1]));
    EXPECT_EQ(t.fields[0].decimals, 2);
}

TEST(ParadoxFixtures, RecordOrderFollowsTheBlockChain)
{
    // AREACODES.DB spans four blocks; pxlib walks the chain the same way.
    TableData t = read_paradox(kDir + "AREACODES.DB");
    ASSERT_EQ(t.records.size(), 370u);
    EXPECT_EQ(std::get<std::string>(t.records[0][0]), "201");
    // A copy whose chain visits block 2 before block 1 (tests/data/paradox/reordered_chain.db,
    // made from two blocks of our own writing) reads in chain order, as pxlib does.
    const std::string path = std::string(VANTELO_TEST_DATA_DIR) + "/paradox/reordered_chain.db";
    TableData r = read_paradox(path);
    pxtest::PxTable px = pxtest::px_read(path);
    ASSERT_EQ(r.records.size(), static_cast<std::size_t>(px.num_records));
    for (std::size_t i = 0; i < r.records.size(); ++i)
        EXPECT_EQ(std::get<std::int64_t>(r.records[i][0]), px.records[i][0].l) << i;
    EXPECT_EQ(std::get<std::int64_t>(r.records[0][0]), 1000);
}

}  // namespace
