// The one window every in-process test draws into, and small GL read-backs.
// main() runs the program's real start-up (Avvio) once, then the tests.
#pragma once

#include <GL/gl.h>

#include <array>
#include <string>
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

// The figure's position: the modelview matrix's translation, for a test that
// loaded the identity in place of the camera, so that every move reads back exactly.
std::array<float, 3> position();

// RGB pixels of the back buffer after drawing the figure without swapping,
// bottom row first, width * height * 3 bytes.
std::vector<unsigned char> drawAndRead(int& width, int& height);

// The recorder's log of the program's start-up, kept aside before any test runs.
const std::vector<std::string>& startupLog();

// One glCallList made while drawing: the list, and the modelview matrix and
// stack depth it was called with (the list's own frame, before its push).
struct ListCall {
    GLuint list;
    Matrix modelview;
    GLint depth;
};
std::vector<ListCall> listCalls(void (*draw)());

// What the program writes for --help.
std::string helpText();

// The 24 joint angles, in the scene state's order, then direzione.
std::array<int*, 25> angles();
std::array<int, 25> angleValues();

// m applied to the point (px, py, pz, 1).
std::array<float, 3> apply(const Matrix& m, float px, float py, float pz);

}  // namespace scene
