#include "platform/ui/guard.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    vantelo::ui::Application app(argc, argv);
    vantelo::set_up_program();
    // The splash, then the main window and the message loop until it closes.
    return vantelo::shell::run_application([] { return new vantelo::shell::Tquilta; });
}
