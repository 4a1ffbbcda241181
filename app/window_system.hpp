// What only one window system has, behind one header: CMake builds
// window_system_x11.cpp or window_system_win32.cpp, whichever the target uses.
#pragma once

#include <string>

// First thing in main: the program's output and errors go to the console or
// terminal it was started from, if any.
void CollegoTerminale();

// The display GLUT opens when the command line names NOME with -display
// (nullptr: none), as the window system names it.
std::string NomeSchermo(const char* nome);

// The display the current GL context draws on; empty with no context current.
std::string SchermoCorrente();

// Pop-up menus that choose the entry under the pointer wherever the window is
// on the screen. Once, after the menus are attached, with the window's GL
// context current.
void CorreggoMenu();
