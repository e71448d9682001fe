#pragma once
// Field computation: a field of the current table recomputed record by record from one or two
// other fields, as an arithmetic combination (运算), a copy (替换) or a transformation (变换).
#include <string>
#include <vector>

#include "platform/core/checked.h"
#include "platform/db/dataset.h"

namespace vantelo::shell {

enum class ComputeMode { Arithmetic, Replace, Transform };

// The operator lists, in the order of their list box: arithmetic a+b, a-b, a*b, a/b; the
// transformations |a|, ln a, a/10, a/100, a/1000, a*10, a*100, a*1000, 1/a, e^a and a rounded to
// a whole number with halves to the even neighbour.
inline const std::vector<std::string> arithmetic_operators = {"+", "-", "*", "/"};
inline const std::vector<std::string> transform_operators = {"ABS()", "Ln()",  "1/10", "%",     "1/1000", "*10",
                                                             "*100",  "*1000", "1/X",  "Exp()", "Round()"};

// The index of the item whose text equals text exactly (letter case included), or -1. A list
// box whose item was chosen shows that item's text, and an untouched box its start text, which
// is the text of one of its items; a typed text that matches no item gives -1, and the caller
// refuses it rather than computing another operation.
int list_item_for_text(const std::vector<std::string>& items, const std::string& text);

// One computation: the target field and the operand fields by name (found without regard to
// letter case), and the operator's index in its mode's list (unused by Replace).
struct FieldComputation {
    ComputeMode mode = ComputeMode::Arithmetic;
    std::string target, a, b;
    int operation = 0;
};

// How a computation ended: data_error is set when a record's operands admit no result
// (a / b with b = 0, ln a with a <= 0, 1/a with a = 0); record is then that record's index.
struct ComputeOutcome {
    bool data_error = false;
    int record = -1;
};

// The result for one record, computed in extended precision: nothing (a "Data Error!") where
// the operands admit no result; an overflow raises FpOverflowError. b is ignored outside the
// arithmetic mode.
bool compute_value(ComputeMode mode, int operation, real a, real b, real& result);

// Runs the computation over every record of the open table in order: for each record the
// operands are read (for a / b, b first, and a only when b is not 0), the result is computed
// and stored as a double into the target (an integer target takes it rounded half to even, a
// text target its general-format text); the target may be one of the operands, since each record
// reads its operands before writing. Stops at the first record without a result and reports
// it; the records before it keep their new values, that record and the later ones are
// unchanged. An error (a field that is not found, an operand that is not a number, an overflow,
// a value the target cannot hold) is raised after the records before it have been written;
// a field that is not found is therefore raised at the first record, with nothing changed.
// The table is written once at the end, through a temporary file. An empty table is left alone.
ComputeOutcome compute_field(db::Dataset& table, const FieldComputation& c);

}  // namespace vantelo::shell
