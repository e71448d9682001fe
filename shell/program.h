#pragma once
// What the program does between creating its application object and start-up: its name, the
// font substitutions and the registration of every command window with the main window. Kept
// apart from main() so that the start-up benchmark starts the program exactly as main() does.
// Built outside the shell library, as it links every window library.
namespace vantelo {

void set_up_program();

}  // namespace vantelo
