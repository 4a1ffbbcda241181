// The nine body-part shapes, compiled once into display lists at start-up.
#pragma once

#include <GL/gl.h>

// Compiles the nine lists into their handles and leaves GL_MODELVIEW selected.
// Stops the program with a message if GL cannot give a list name or a quadric.
void DefDisplayLists();

// Issues the commands of the part whose list has this handle, without the list.
void DisegnoParte(GLuint lista);
