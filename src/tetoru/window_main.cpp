// tetoru-window: Tetoru's run with its progress window. tetoru starts it in
// its own place when there is a display, with the command line it was given;
// everything else of the command line tetoru has answered already.
#include "tetoru/command_line.h"
#include "tetoru/tetoru_window.h"

int main(int argc, char* argv[]) {
    return tetoru::RunWithProgressWindow(argv[0], tetoru::ReadCommandLine(argc, argv).words);
}
