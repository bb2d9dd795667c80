// The whole program: options, host, the state loop and the way out.
#pragma once

int wobblewickMain(int argc, char **argv);
// The exit path when the user closes the program from outside the game's own
// menus (window closed, Ctrl+C, the end of an input script).
[[noreturn]] void closeProgram();
