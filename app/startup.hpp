// Start-up: window, fixed render state, camera, light, lists, callbacks, menus.
#pragma once

void init();            // clear values, depth test, back-face culling
void PuntoDiVista();    // loads the camera into the modelview matrix
void CostruiscoLuci();  // smooth shading and the one light, fixed in the world

// Everything main does before it enters the GLUT main loop, in order.
void Avvio(int* argc, char** argv);
