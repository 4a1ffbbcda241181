// The least a GLUT program does to show a first frame in the same window as the
// program: same mode, size, place and title; one clear and one swap. Its clear
// colour is cyan so that the start-up timer sees its frame the way it sees the
// lit figure.
#include <GL/freeglut.h>

#include "app/scene_state.hpp"

namespace {
void Mostra()
{
    glClearColor(0.0f, 0.5f, 0.5f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}
}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(scena::w0, scena::h0);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Pavok");
    glutDisplayFunc(Mostra);
    glutMainLoop();
    return 0;
}
