#pragma once
// 帮助 > 关于: the program's title on a silver panel inside a teal frame; a click on the panel or
// on the frame closes it.
#include <QDialog>
#include <QPointer>
#include <memory>

class QFrame;
class QLabel;

namespace Ui {
class TAbout_Frm;
}

namespace vantelo::shell {

class TAbout_Frm : public QDialog {
    Q_OBJECT
public:
    explicit TAbout_Frm(QWidget* owner);
    ~TAbout_Frm() override;

    void Panel1Click();
    void Shape1MouseDown();

    QFrame* Panel1 = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TAbout_Frm> ui_;
};

extern QPointer<TAbout_Frm> About_Frm;

// Registers 帮助 > 关于 with the main window.
void register_about();

}  // namespace vantelo::shell
