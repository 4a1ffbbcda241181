// The program's real start-up in a benchmark process, and a way back to the
// state it starts in, so every measurement begins from the same scene.
#pragma once

// Runs the whole start-up (window, state, lists, callbacks, menus), lets GLUT
// deliver the first reshape, and draws a few frames so that Mesa has compiled
// its lighting program before anything is timed.
void ApriFinestra();

// Every angle 0, heading 0, modelview back to the camera alone.
void RiportaAllInizio();

// One frame with nothing drawn: the two clears and the swap of display().
void FrameVuoto();
