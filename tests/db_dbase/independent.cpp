#include "independent.h"

#include <iconv.h>
#include <shapefil.h>
#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace dbase_test {

std::string to_utf8(const std::string& bytes, const char* charset)
{
    iconv_t cv = iconv_open("UTF-8", charset);
    if (cv == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    char* o = out.data();
    size_t o_left = out.size();
    size_t r = iconv(cv, &in, &in_left, &o, &o_left);
    iconv_close(cv);
    if (r == static_cast<size_t>(-1)) throw std::runtime_error("not valid " + std::string(charset) + ": " + bytes);
    out.resize(out.size() - o_left);
    return out;
}

std::string quote(const std::string& path)
{
    std::string q = "'";
    for (char c : path) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

std::string run(const std::string& command)
{
    FILE* p = popen(command.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int status = pclose(p);
    if (status != 0) throw std::runtime_error("command failed (" + std::to_string(status) + "): " + command);
    return out;
}

IndepTable shapelib_read(const std::string& path)
{
    DBFHandle h = DBFOpen(path.c_str(), "rb");
    if (!h) throw std::runtime_error("shapelib cannot open " + path);
    IndepTable t;
    t.header_version = 0;
    t.update_year = h->nUpdateYearSince1900 + 1900;
    t.update_month = h->nUpdateMonth;
    t.update_day = h->nUpdateDay;
    t.ldid = h->iLanguageDriver;
    int n = DBFGetFieldCount(h);
    for (int i = 0; i < n; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int w = 0, d = 0;
        DBFGetFieldInfo(h, i, name, &w, &d);
        t.fields.push_back({to_utf8(name), DBFGetNativeFieldType(h, i), w, d});
    }
    t.all_records = DBFGetRecordCount(h);
    for (int r = 0; r < t.all_records; ++r) {
        if (DBFIsRecordDeleted(h, r)) continue;
        IndepRow row;
        for (int i = 0; i < n; ++i) {
            if (DBFIsAttributeNULL(h, r, i)) {
                row.push_back(std::nullopt);
                continue;
            }
            // The returned buffer is overwritten by the next read: copy it at once.
            std::string s = DBFReadStringAttribute(h, r, i);
            row.push_back(to_utf8(s));
        }
        t.rows.push_back(std::move(row));
    }
    DBFClose(h);
    return t;
}

namespace {

std::vector<std::string> split(const std::string& s, char sep)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

// One CSV line as GDAL writes it: cells in double quotes when they need them.
std::vector<std::string> csv_cells(const std::string& line, std::vector<bool>& quoted)
{
    std::vector<std::string> out;
    quoted.clear();
    std::string cur;
    bool in_q = false, was_q = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (in_q) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cur += '"';
                ++i;
            } else if (c == '"') {
                in_q = false;
            } else {
                cur += c;
            }
        } else if (c == '"') {
            in_q = was_q = true;
        } else if (c == ',') {
            out.push_back(cur);
            quoted.push_back(was_q);
            cur.clear();
            was_q = false;
        } else if (c != '\r') {
            cur += c;
        }
    }
    out.push_back(cur);
    quoted.push_back(was_q);
    return out;
}

}  // namespace

IndepTable dbf_dump_read(const std::string& path, bool memo)
{
    // Unit and record separators keep any text apart.
    std::string out = run(std::string("dbf_dump ") + (memo ? "" : "--nomemo ") + "--fs '\x1f' --rs '\x1e' --undef '<NULL>' " + quote(path) + " 2>/dev/null");
    std::string info = run("dbf_dump --info " + quote(path) + " 2>/dev/null");
    IndepTable t;
    bool in_fields = false;
    for (const std::string& line : split(info, '\n')) {
        if (line.rfind("Num\tName", 0) == 0) {
            in_fields = true;
            continue;
        }
        if (!in_fields || line.empty()) continue;
        // "1.\tNAME            C       16      0"
        char name[64] = {}, type = 0;
        int num = 0, w = 0, d = 0;
        if (sscanf(line.c_str(), "%d.\t%63s %c %d %d", &num, name, &type, &w, &d) == 5)
            t.fields.push_back({to_utf8(name), type, w, d});
    }
    for (const std::string& rec : split(out, '\x1e')) {
        if (rec.empty()) continue;
        IndepRow row;
        for (const std::string& v : split(rec, '\x1f')) {
            if (v == "<NULL>") row.push_back(std::nullopt);
            else row.push_back(to_utf8(v));
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

IndepTable ogr_read(const std::string& path)
{
    std::string out = run("ogr2ogr -f CSV /vsistdout/ " + quote(path) + " 2>/dev/null");
    IndepTable t;
    auto lines = split(out, '\n');
    bool header = true;
    for (const std::string& line : lines) {
        if (line.empty() || line == "\r") continue;
        std::vector<bool> quoted;
        auto cells = csv_cells(line, quoted);
        if (header) {
            for (auto& c : cells) t.fields.push_back({c, 0, 0, 0});
            header = false;
            continue;
        }
        IndepRow row;
        for (size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].empty() && !quoted[i]) row.push_back(std::nullopt);
            else row.push_back(cells[i]);
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

}  // namespace dbase_test
