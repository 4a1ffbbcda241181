// Records the GL, GLU and GLUT calls that the project's own code makes.
// The test binary is linked with --wrap for each function below, so only calls
// from the library are seen; calls GLUT makes inside its own shapes are not.
#pragma once

#include <string>
#include <vector>

namespace rec {

void start();  // clears the log and starts recording
void stop();
const std::vector<std::string>& calls();                   // e.g. "glTranslatef(0, -0.3, 0)"
std::vector<std::string> only(const std::string& prefix);  // calls whose name starts with prefix
int count(const std::string& name);                        // calls of exactly that function

// glutPostRedisplay and display-frame (glutSwapBuffers) counters, always on.
extern int redisplays;
extern int swaps;

// Fault injection for the start-up failure path.
extern bool failGenLists;    // glGenLists returns 0
extern bool failNewQuadric;  // gluNewQuadric returns nullptr

// Called just before every glCallList of the project's code, recording or not,
// so a test can read the matrix that the list is about to be drawn in.
extern void (*beforeCallList)(unsigned list);

}  // namespace rec
