#include "pxlib_reader.h"

extern "C" {
#include <paradox.h>
}

#include <climits>
#include <cstring>
#include <stdexcept>

namespace pxtest {
namespace {

struct Errors {
    std::vector<std::string> messages;
};

void on_error(pxdoc_t*, int, const char* msg, void* data)
{
    static_cast<Errors*>(data)->messages.push_back(msg ? msg : "");
}

std::string two(int v) { return std::string{char('0' + v / 10), char('0' + v % 10)}; }

std::string take_string(pxdoc_t* px, char* s)
{
    std::string r = s ? s : "";
    if (s) px->free(px, s);
    return r;
}

}  // namespace

PxTable px_read(const std::string& path)
{
    Errors errors;
    pxdoc_t* px = PX_new3(on_error, nullptr, nullptr, nullptr, &errors);
    if (!px) throw std::runtime_error("pxlib: no document");
    if (PX_open_file(px, path.c_str()) < 0) {
        std::string m = "pxlib cannot open " + path + ":";
        for (auto& e : errors.messages) m += " " + e;
        PX_delete(px);
        throw std::runtime_error(m);
    }
    PxTable t;
    pxhead_t* h = px->px_head;
    t.version = h->px_fileversion;
    t.file_type = h->px_filetype;
    t.num_records = h->px_numrecords;
    t.code_page = h->px_doscodepage;
    t.auto_inc = h->px_autoinc;
    t.table_name = h->px_tablename ? h->px_tablename : "";
    for (int i = 0; i < h->px_numfields; ++i) {
        pxfield_t* f = PX_get_field(px, i);
        t.fields.push_back(PxField{f->px_fname ? f->px_fname : "", f->px_ftype, f->px_flen, f->px_fdc});
    }
    for (int r = 0; r < h->px_numrecords; ++r) {
        std::size_t before = errors.messages.size();
        pxval_t** vals = PX_retrieve_record(px, r);
        bool failed = errors.messages.size() != before;
        std::vector<PxCell> row;
        if (!vals) throw std::runtime_error("pxlib cannot read record " + std::to_string(r) + " of " + path);
        for (int i = 0; i < h->px_numfields; ++i) {
            pxval_t* v = vals[i];
            PxCell c;
            c.null = v->isnull;
            c.failed = failed;
            switch (v->type) {
            case pxfAlpha: case pxfMemoBLOb: case pxfFmtMemoBLOb: case pxfBCD: case pxfBytes:
            case pxfBLOb: case pxfOLE: case pxfGraphic:
                if (!c.null && v->value.str.val) c.s.assign(v->value.str.val, v->value.str.len);
                break;
            case pxfNumber: case pxfCurrency: c.d = v->value.dval; break;
            case pxfTimestamp:
                c.d = v->value.dval;
                if (!c.null && c.d != 0) c.text = take_string(px, PX_timestamp2string(px, c.d, "Y-m-d H:i:s"));
                break;
            case pxfDate:
                c.l = v->value.lval;
                if (!c.null && c.l != INT_MIN) {
                    int y, m, d;
                    PX_SdnToGregorian(c.l + 1721425, &y, &m, &d);
                    c.text = std::to_string(y) + "-" + two(m) + "-" + two(d);
                }
                break;
            case pxfTime:
                c.l = v->value.lval;
                if (!c.null && c.l != INT_MIN) c.text = take_string(px, PX_time2string(px, c.l, "H:i:s"));
                break;
            default: c.l = v->value.lval; break;
            }
            row.push_back(std::move(c));
            if ((v->type == pxfAlpha || v->type == pxfMemoBLOb || v->type == pxfFmtMemoBLOb || v->type == pxfBCD ||
                 v->type == pxfBytes || v->type == pxfBLOb || v->type == pxfOLE || v->type == pxfGraphic) &&
                v->value.str.val)
                px->free(px, v->value.str.val);
            px->free(px, v);
        }
        px->free(px, vals);
        t.records.push_back(std::move(row));
    }
    PX_close(px);
    PX_delete(px);
    return t;
}

}  // namespace pxtest
