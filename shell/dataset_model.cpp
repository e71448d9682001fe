#include "shell/dataset_model.h"

#include <cmath>

#include "platform/core/errors.h"
#include "platform/core/numtext.h"
#include "platform/ui/guard.h"
#include "platform/ui/readable_text.h"

namespace vantelo::shell {

using db::FieldType;

DatasetModel::DatasetModel(db::Dataset& dataset, QObject* parent) : QAbstractTableModel(parent), ds_(dataset)
{
    ds_.add_observer(this);
    dataset_changed(ds_);
}

DatasetModel::~DatasetModel() { ds_.remove_observer(this); }

namespace {
// Rows the grid shows: the records, plus a record being appended when the dataset does not count
// it yet.
int shown_rows(const db::Dataset& ds)
{
    if (!ds.active()) return 0;
    int n = ds.record_count();
    if (ds.state() == db::Dataset::State::Insert && ds.rec_no() >= n) n = ds.rec_no() + 1;
    return n;
}

bool is_integer_type(FieldType t)
{
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::LargeInt;
}
}  // namespace

int DatasetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DatasetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

db::Value DatasetModel::cell_value(int row, int col) const
{
    auto st = ds_.state();
    if ((st == db::Dataset::State::Edit || st == db::Dataset::State::Insert) && row == ds_.rec_no())
        return ds_.current_value(col);
    if (row >= ds_.record_count()) return {};
    return ds_.value_at(row, col);
}

QString DatasetModel::display_text(const db::Value& v, FieldType type)
{
    if (std::holds_alternative<std::monostate>(v)) return {};
    if (auto s = std::get_if<std::string>(&v)) return QString::fromStdString(*s);
    if (auto i = std::get_if<std::int64_t>(&v)) return QString::number(*i);
    if (auto d = std::get_if<double>(&v)) {
        if (!std::isfinite(*d)) return {};
        return QString::fromStdString(format_general(static_cast<real>(*d)));
    }
    if (auto b = std::get_if<bool>(&v)) return *b ? QStringLiteral("True") : QStringLiteral("False");
    if (auto dt = std::get_if<db::Date>(&v))
        return QString::asprintf("%04d-%02d-%02d", dt->year, dt->month, dt->day);
    (void)type;
    return {};
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= cols_ || !ds_.active()) return {};
    // Painting never raises: a cell the dataset cannot give shows empty.
    try {
        return cell_data(index, role);
    } catch (const std::exception&) {
        return {};
    }
}

QVariant DatasetModel::cell_data(const QModelIndex& index, int role) const
{
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const auto& def = ds_.field_def(index.column());
        return display_text(cell_value(index.row(), index.column()), def.type);
    }
    if (role == Qt::BackgroundRole) {
        QColor c = column_color(index.column());
        if (c.isValid()) return c;
    }
    if (role == Qt::ForegroundRole) {
        QColor c = column_color(index.column());
        if (c.isValid()) return ui::readable_text_colour(c);
    }
    if (role == Qt::TextAlignmentRole) {
        auto t = ds_.field_def(index.column()).type;
        if (is_integer_type(t) || t == FieldType::Float || t == FieldType::Currency)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !ds_.active()) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= cols_) return {};
        return QString::fromStdString(ds_.field_def(section).name);
    }
    // The record indicator: the current record is marked, the others are blank.
    if (section != ds_.rec_no()) return QString();
    switch (ds_.state()) {
    case db::Dataset::State::Edit: return QStringLiteral("I");
    case db::Dataset::State::Insert: return QStringLiteral("*");
    default: return QStringLiteral("▶");
    }
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (ds_.active() && !ds_.read_only() && !ds_.image().read_only && index.column() < cols_
        && !ds_.field_def(index.column()).read_only)
        f |= Qt::ItemIsEditable;
    return f;
}

void DatasetModel::set_field_text(int col, const QString& text)
{
    db::Field field = ds_.field(col);
    const std::string t = text.trimmed().toStdString();
    FieldType type = field.def().type;
    if (t.empty() && type != FieldType::String) {
        field.clear();
    } else if (type == FieldType::Float || type == FieldType::Currency) {
        field.set_as_float(to_double(parse_float(t)));
    } else if (type == FieldType::SmallInt || type == FieldType::Integer) {
        field.set_as_integer(parse_int(t));
    } else if (type == FieldType::LargeInt) {
        real x = parse_float(t);
        if (x != std::trunc(x)) throw ConvertError::not_integer(t);
        field.set_as_integer(round_to_int64(x));
    } else {
        field.set_as_string(text.toStdString());
    }
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !ds_.active() || index.column() >= cols_) return false;
    if (!(flags(index) & Qt::ItemIsEditable)) return false;
    // Nothing changes when the text is the one shown.
    if (value.toString() == data(index, Qt::EditRole).toString()) return false;
    bool ok = false;
    ui::guarded(nullptr, [&] {
        if (ds_.rec_no() != index.row()) ds_.move_to(index.row());
        if (ds_.state() == db::Dataset::State::Browse) ds_.edit();
        set_field_text(index.column(), value.toString());
        ok = true;
    });
    int row = index.row();
    if (row < rows_) emit dataChanged(this->index(row, 0), this->index(row, cols_ - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
    emit state_changed();
    return ok;
}

void DatasetModel::set_column_color(const QString& field_name, const QColor& color)
{
    QString key = field_name.toCaseFolded();
    if (color.isValid()) colors_.insert(key, color);
    else colors_.remove(key);
    if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::BackgroundRole});
}

void DatasetModel::clear_column_colors()
{
    colors_.clear();
    if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::BackgroundRole});
}

QColor DatasetModel::column_color(int column) const
{
    if (colors_.isEmpty() || !ds_.active() || column < 0 || column >= cols_) return {};
    return colors_.value(QString::fromStdString(ds_.field_def(column).name).toCaseFolded());
}

void DatasetModel::dataset_changed(db::Dataset&)
{
    beginResetModel();
    rows_ = shown_rows(ds_);
    cols_ = ds_.active() ? ds_.field_count() : 0;
    indicator_row_ = ds_.active() ? ds_.rec_no() : -1;
    endResetModel();
    emit state_changed();
    if (ds_.active()) emit cursor_moved(ds_.rec_no());
}

void DatasetModel::record_changed(db::Dataset&, int row)
{
    int n = shown_rows(ds_);
    if (n != rows_) {
        // A record appended or its append cancelled.
        if (n > rows_) {
            beginInsertRows({}, rows_, n - 1);
            rows_ = n;
            endInsertRows();
        } else {
            beginRemoveRows({}, n, rows_ - 1);
            rows_ = n;
            endRemoveRows();
        }
    }
    if (row >= 0 && row < rows_ && cols_ > 0) {
        emit dataChanged(index(row, 0), index(row, cols_ - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    }
    emit state_changed();
}

void DatasetModel::position_changed(db::Dataset&)
{
    int n = shown_rows(ds_);
    if (n != rows_) record_changed(ds_, -1);
    int old = indicator_row_;
    indicator_row_ = ds_.rec_no();
    if (old >= 0 && old < rows_) emit headerDataChanged(Qt::Vertical, old, old);
    if (indicator_row_ >= 0 && indicator_row_ < rows_) emit headerDataChanged(Qt::Vertical, indicator_row_, indicator_row_);
    emit state_changed();
    emit cursor_moved(indicator_row_);
}

QStringList field_name_list(const db::Dataset& dataset)
{
    QStringList out;
    if (!dataset.active()) return out;
    for (const auto& n : dataset.field_names()) out << QString::fromStdString(n);
    return out;
}

}  // namespace vantelo::shell
