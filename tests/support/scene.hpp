// The one window every in-process test draws into, and small GL read-backs.
// main() runs the program's real start-up (Avvio) once, then the tests.
#pragma once

#include <GL/gl.h>

#include <array>
#include <vector>

namespace scene {

using Matrix = std::array<GLfloat, 16>;  // column-major, as GL returns it

// Puts every global back to its initial value, the modelview matrix back to the
// camera alone, and the viewport and projection to a 650 x 650 reshape.
void reset();

// Lets GLUT deliver pending window events (reshape, expose) to the callbacks.
void pump();

Matrix modelview();
Matrix projection();
GLint integer(GLenum what);
std::array<GLint, 4> viewport();

// The figure's position: the translation part of the modelview matrix with the
// camera's -120 along z taken back out (the camera is a pure translation).
std::array<float, 3> position();

// RGB pixels of the back buffer after drawing the figure without swapping,
// bottom row first, width * height * 3 bytes.
std::vector<unsigned char> drawAndRead(int& width, int& height);

}  // namespace scene
