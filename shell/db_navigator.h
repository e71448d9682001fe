#pragma once
// DBNavigator1: the record navigator on the current table (first, prior, next, last, append,
// delete after a confirmation, edit, post, cancel).
#include <QWidget>

class QToolButton;

namespace vantelo::shell {

class DatasetModel;
class DBGrid;

class DBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit DBNavigator(QWidget* parent = nullptr);

    // The grid whose open cell editor is committed before a button acts.
    void set_data_source(DatasetModel* source, DBGrid* grid);

    QToolButton* button(const QString& name) const;
    void update_buttons();

private:
    void act(void (*action)(DatasetModel&, QWidget*));

    DatasetModel* source_ = nullptr;
    DBGrid* grid_ = nullptr;
    QList<QToolButton*> buttons_;
};

}  // namespace vantelo::shell
