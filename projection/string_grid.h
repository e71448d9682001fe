#pragma once
// The year-parameter grids of the projection form: the shared string grid (platform/ui) over the
// projection's own cell model, which the computing code reads and writes.
#include <QRadioButton>

#include "platform/ui/string_grid.h"
#include "projection/engine/year_grid.h"

namespace vantelo {

class StringGrid : public ui::StringGrid {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr) : ui::StringGrid(parent, cells_), cells_{model_} {}

    projection::GridModel& model() { return model_; }
    const projection::GridModel& model() const { return model_; }

private:
    // The model seen as the grid's cells.
    struct ModelCells : ui::GridCells {
        explicit ModelCells(projection::GridModel& m) : m(m) {}
        projection::GridModel& m;
        int col_count() const override { return m.col_count(); }
        int row_count() const override { return m.row_count(); }
        void set_size(int cols, int rows) override { m.set_size(cols, rows); }
        std::string cell(int col, int row) const override { return m.cell(col, row); }
        void set_cell(int col, int row, std::string text) override { m.set_cell(col, row, std::move(text)); }
    };
    projection::GridModel model_;
    ModelCells cells_;
};

// The rule an interpolation box's radio buttons choose, tested in the order copy, linear,
// exponential (a box without exponential passes nullptr); none when no button is checked.
inline projection::InterpolationMode interpolation_mode(QRadioButton* copy, QRadioButton* linear, QRadioButton* expo)
{
    if (copy->isChecked()) return projection::InterpolationMode::copy;
    if (linear->isChecked()) return projection::InterpolationMode::linear;
    if (expo && expo->isChecked()) return projection::InterpolationMode::exponential;
    return projection::InterpolationMode::none;
}

}  // namespace vantelo
