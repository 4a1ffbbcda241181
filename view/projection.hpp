// Viewport and projection from the window size and the view-volume settings.
#pragma once

void reshape(int width, int height);  // the GLUT reshape callback
void AllargaVisuale();                // widen the view volume by 5 on every side
void RestringiVisuale();              // narrow it by 5 on every side
void CambiaProiezione();              // switch perspective <-> orthographic
