#include "shell/engine/field_compute.h"

#include <cmath>
#include <optional>

#include "platform/core/numtext.h"

namespace vantelo::shell {

int list_item_for_text(const std::vector<std::string>& items, const std::string& text)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return static_cast<int>(i);
    return -1;
}

bool compute_value(ComputeMode mode, int operation, real a, real b, real& result)
{
    switch (mode) {
    case ComputeMode::Replace: result = a; return true;
    case ComputeMode::Arithmetic:
        switch (operation) {
        case 0: result = checked_add(a, b); return true;
        case 1: result = checked_sub(a, b); return true;
        case 2: result = checked_mul(a, b); return true;
        case 3:
            if (b == 0) return false;
            result = checked_div(a, b);
            return true;
        default: break;
        }
        break;
    case ComputeMode::Transform:
        switch (operation) {
        case 0: result = std::fabs(check_finite(a)); return true;
        case 1:
            if (a <= 0) return false;
            result = checked_ln(a);
            return true;
        case 2: result = checked_div(a, 10.0L); return true;
        case 3: result = checked_div(a, 100.0L); return true;
        case 4: result = checked_div(a, 1000.0L); return true;
        case 5: result = checked_mul(a, 10.0L); return true;
        case 6: result = checked_mul(a, 100.0L); return true;
        case 7: result = checked_mul(a, 1000.0L); return true;
        case 8:
            if (a == 0) return false;
            result = checked_div(1.0L, a);
            return true;
        case 9: result = checked_exp(a); return true;
        case 10: result = round_half_even(check_finite(a)); return true;
        default: break;
        }
        break;
    }
    throw Error("Unknown operation " + std::to_string(operation));
}

namespace {

// A field looked up on its first use, as the record loop first reads it.
class LazyField {
public:
    LazyField(db::Dataset& t, const std::string& name) : t_(t), name_(name) {}
    db::Field get()
    {
        if (!field_) field_ = t_.field_by_name(name_);
        return *field_;
    }

private:
    db::Dataset& t_;
    const std::string& name_;
    std::optional<db::Field> field_;
};

}  // namespace

ComputeOutcome compute_field(db::Dataset& table, const FieldComputation& c)
{
    ComputeOutcome out;
    if (table.record_count() == 0) return out;
    LazyField target(table, c.target), fa(table, c.a), fb(table, c.b);
    const bool divide = c.mode == ComputeMode::Arithmetic && c.operation == 3;
    const bool two_operands = c.mode == ComputeMode::Arithmetic;

    table.begin_batch();
    try {
        table.first();
        while (!table.eof()) {
            table.edit();
            real a = 0, b = 0;
            if (divide) {
                b = fb.get().as_float();
                if (b != 0) a = fa.get().as_float();
            } else {
                a = fa.get().as_float();
                if (two_operands) b = fb.get().as_float();
            }
            real r = 0;
            if (!compute_value(c.mode, c.operation, a, b, r)) {
                out.data_error = true;
                out.record = table.rec_no();
                break;
            }
            target.get().set_as_float(to_double(r));
            table.next();
        }
    } catch (...) {
        table.cancel();
        table.end_batch();
        throw;
    }
    table.cancel();
    table.end_batch();
    return out;
}

}  // namespace vantelo::shell
