// A table's files are read only as far as the table needs them: a huge memo file beside a table
// that has no memo field, or a data file padded far past the blocks its header declares, opens
// (and is written) within a small memory limit, with the same table as without the excess.
// The huge files are sparse, made with ftruncate; each read runs in a child process under
// limits on its memory and its time.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "platform/core/errors.h"
#include "platform/db/dataset.h"
#include "platform/db/paradox.h"
#include "pxlib_reader.h"
#include "test_util.h"
#include "tests/db_common/limited_child.h"

using namespace vantelo;
using namespace vantelo::db;
using pxtest::TempDir;

namespace {

const std::string kSamples = std::string(VANTELO_TEST_DATA_DIR) + "/../../samples/";
const std::string kFixtures = std::string(VANTELO_FIXTURES_DIR) + "/paradox/";
constexpr off_t kHuge = off_t{2} << 30;   // 2 GB, never written: the files are sparse

void grow_sparse(const std::string& path, off_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, size), 0) << path;
    ::close(fd);
}

// Every value of a table as text, record by record.
std::string summary(const TableData& t)
{
    std::ostringstream out;
    out << t.record_count() << " records";
    for (std::size_t r = 0; r < t.record_count(); ++r) {
        out << "\n";
        for (std::size_t c = 0; c < t.fields.size(); ++c) {
            const Value v = t.value(r, c);
            out << '|';
            if (const auto* s = std::get_if<std::string>(&v)) out << *s;
            else if (const auto* i = std::get_if<std::int64_t>(&v)) out << *i;
            else if (const auto* d = std::get_if<double>(&v)) out << *d;
            else if (const auto* b = std::get_if<bool>(&v)) out << *b;
            else if (const auto* dt = std::get_if<Date>(&v)) out << dt->year << '-' << dt->month << '-' << dt->day;
        }
    }
    return out.str();
}

struct HostileCase {
    const char* name;
    std::string source;       // the real table
    const char* table;        // its name in the scratch folder
    const char* memo_source;  // its memo file, or nullptr
    const char* grown;        // the file grown to 2 GB: the memo file or the table itself
    std::size_t records;      // as pxlib reads the real table
};

// Each hostile pair of files opens as the real table does, in a plain and a compact image.
TEST(BoundedRead, HugeCompanionOrPaddingIsNotRead)
{
    const HostileCase cases[] = {
        {"memo file beside a table without memo fields", kSamples + "single_region.DB", "t.DB", nullptr, "t.MB", 81},
        {"table padded after its blocks", kSamples + "single_region.DB", "t.DB", nullptr, "t.DB", 81},
        {"two-block table padded after its blocks", kSamples + "urban_rural.DB", "t.DB", nullptr, "t.DB", 81},
        {"memo file of a memo table", kFixtures + "memo.db", "memo.db", "memo.mb", "memo.mb", 2},
        {"memo table padded after its blocks", kFixtures + "memo.db", "memo.db", "memo.mb", "memo.db", 2},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(static_cast<std::size_t>(pxtest::px_read(c.source).num_records), c.records);
        TempDir plain, hostile;
        for (TempDir* d : {&plain, &hostile}) {
            std::filesystem::copy_file(c.source, d->path(c.table));
            if (c.memo_source) std::filesystem::copy_file(kFixtures + c.memo_source, d->path(c.memo_source));
        }
        grow_sparse(hostile.path(c.grown), kHuge);
        const std::string expected = summary(read_paradox(plain.path(c.table)));
        ASSERT_EQ(expected.rfind(std::to_string(c.records) + " records", 0), 0u);
        for (bool compact : {false, true}) {
            const std::string path = hostile.path(c.table);
            const test_common::ChildResult got =
                test_common::run_limited([&] { return summary(read_paradox(path, compact)); });
            ASSERT_TRUE(got.answered) << got.ending;
            EXPECT_FALSE(got.raised) << got.text;
            EXPECT_EQ(got.text, expected) << "compact " << compact;
        }
    }
}

// A post, an append and a batch over a table padded after its blocks are written within the
// limits and leave the table as they leave the real one (a whole rewrite keeps only the
// declared blocks).
TEST(BoundedRead, WritesToAPaddedTableStayWithinBounds)
{
    const std::function<void(Dataset&)> changes[] = {
        [](Dataset& ds) {
            ds.move_to(5);
            ds.edit();
            ds.field(1).set_as_float(12345);
            ds.post();
        },
        [](Dataset& ds) {
            ds.append();
            ds.field(0).set_as_integer(81);
            ds.post();
        },
        [](Dataset& ds) {
            ds.begin_batch();
            for (ds.first(); !ds.eof(); ds.next()) {
                ds.edit();
                ds.field(1).set_as_float(ds.field(1).as_float() + 1);
            }
            ds.end_batch();
        },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(i);
        TempDir plain, hostile;
        for (TempDir* d : {&plain, &hostile}) std::filesystem::copy_file(kSamples + "single_region.DB", d->path("t.DB"));
        grow_sparse(hostile.path("t.DB"), kHuge);
        auto change_and_read = [&](const std::string& path) {
            Dataset ds;
            ds.set_table_name(path);
            ds.open();
            changes[i](ds);
            ds.close();
            return summary(read_paradox(path));
        };
        const std::string expected = change_and_read(plain.path("t.DB"));
        const test_common::ChildResult got = test_common::run_limited([&] { return change_and_read(hostile.path("t.DB")); });
        ASSERT_TRUE(got.answered) << got.ending;
        EXPECT_FALSE(got.raised) << got.text;
        EXPECT_EQ(got.text, expected);
    }
}

}  // namespace
