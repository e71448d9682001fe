#include <QLabel>

#include "platform/ui/guard.h"

int main(int argc, char** argv)
{
    vantelo::ui::Application app(argc, argv);
    QLabel label("Vantelo");
    label.show();
    return app.exec();
}
