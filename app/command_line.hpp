// The command line: the two options of the program's own, answered before GLUT
// or X are touched, and the display GLUT opens.
#pragma once

#include <cstdio>

// Writes the help (usage, what the program is, its controls) or the version when
// the command line asks for either, and says whether it did; the command line
// is otherwise GLUT's.
bool Aiuto(int argc, char** argv, std::FILE* out);

// Remembers in scena::schermo the display GLUT opens for this command line:
// the last -display NAME, or else $DISPLAY. To be called before glutInit, which
// takes -display out of the command line.
void RicordoSchermo(int argc, char** argv);
