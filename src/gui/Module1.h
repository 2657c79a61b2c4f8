#pragma once

namespace tolvane {

// The program's start: creates the main window, shows it and runs until it
// is closed.
int Main(int argc, char** argv);

} // namespace tolvane
