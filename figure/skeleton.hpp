// The figure's skeleton and one whole frame: clear, draw at the heading, swap.
#pragma once

void display();       // the GLUT display callback; animations call it for each frame
void DisegnoScena();  // a frame without showing it: clear, then the figure at the heading
void DisegnoUomo();   // the whole figure in the current frame: pelvis, upper body, legs
