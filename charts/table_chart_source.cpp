#include "charts/table_chart_source.h"

#include "platform/core/numtext.h"

namespace vantelo::charts {
namespace {

class TableSource : public chart::DataSource {
public:
    TableSource(const db::Dataset& t, bool strict) : t_(t), strict_(strict) {}
    int record_count() const override { return t_.record_count(); }
    int field_count() const override { return t_.field_count(); }
    QString field_name(int f) const override { return QString::fromStdString(t_.field_def(f).name); }
    real value(int r, int f) const override
    {
        const db::Value v = t_.value_at(r, f);
        if (auto s = std::get_if<std::string>(&v)) {
            bool blank = s->find_first_not_of(' ') == std::string::npos;
            if (blank && !strict_) return 0;
            try {
                if (blank) throw ConvertError("");
                return parse_float(*s);
            } catch (const ConvertError&) {
                if (strict_) throw Error("Invalid variant type conversion");
                throw;
            }
        }
        if (auto i = std::get_if<std::int64_t>(&v)) return static_cast<real>(*i);
        if (auto d = std::get_if<double>(&v)) return *d;
        if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
        if (strict_) throw Error("Invalid variant type conversion");
        return 0;
    }
    QString text(int r, int f) const override
    {
        const db::Value v = t_.value_at(r, f);
        if (auto s = std::get_if<std::string>(&v)) return QString::fromStdString(*s);
        if (auto i = std::get_if<std::int64_t>(&v)) return QString::number(*i);
        if (auto d = std::get_if<double>(&v)) return QString::fromStdString(format_general(*d));
        if (auto b = std::get_if<bool>(&v)) return *b ? QStringLiteral("True") : QStringLiteral("False");
        return {};
    }

private:
    const db::Dataset& t_;
    bool strict_;
};

}  // namespace

double strict_real(const db::Field& f)
{
    const db::Value v = f.value();
    if (auto s = std::get_if<std::string>(&v)) {
        if (s->find_first_not_of(' ') == std::string::npos) throw Error("Invalid variant type conversion");
        try {
            return to_double(parse_float(*s));
        } catch (const ConvertError&) {
            throw Error("Invalid variant type conversion");
        }
    }
    if (auto i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    throw Error("Invalid variant type conversion");
}

std::unique_ptr<chart::DataSource> table_chart_source(const db::Dataset& table, bool strict)
{
    return std::make_unique<TableSource>(table, strict);
}

}  // namespace vantelo::charts
