// The whole scene: pose, heading, view volume, camera, light and list handles.
// Every value is a static initial value; callbacks read and write them directly.
#pragma once

#include <GL/gl.h>

#include <string>

// The names are the design's own, short and shared (x, left, R...): a namespace
// keeps them out of every other scope; a .cpp brings them in with a using-directive.
namespace scena {

// clang-format off
// Pose: joint angles in whole degrees. Stem + side (sin left, des right) + axis.
inline int gamsinx = 0;     // left thigh, at the hip
inline int gamsinz = 0;
inline int gamdesx = 0;     // right thigh
inline int gamdesz = 0;
inline int ginsinx = 0;     // left shin, at the knee
inline int gindesx = 0;     // right shin
inline int cavsinx = 0;     // left foot, at the ankle
inline int cavdesx = 0;     // right foot
inline int panciax = 0;     // torso, at the waist
inline int panciay = 0;
inline int panciaz = 0;
inline int collox = 0;      // head, at the neck
inline int colloy = 0;
inline int colloz = 0;
inline int spallasinx = 0;  // left upper arm, at the shoulder
inline int spallasiny = 0;  // read when drawing; only Attenti stores to it
inline int spallasinz = 0;
inline int spalladesx = 0;  // right upper arm
inline int spalladesy = 0;  // read when drawing; only Attenti stores to it
inline int spalladesz = 0;
inline int gomsinx = 0;     // left forearm, at the elbow
inline int gomdesx = 0;     // right forearm
inline int polsosinz = 0;   // left hand, at the wrist
inline int polsodesz = 0;   // right hand
// clang-format on

// Heading of the whole figure about the world's +y axis, in degrees.
inline int direzione = 0;

// Requested window size and view volume.
inline int w0 = 650;
inline int h0 = 650;
inline int proiez = 1;  // 1 perspective, anything else orthographic
inline int left = -30;
inline int right = 30;
inline int bottom = -30;
inline int top = 30;
inline int frontplane = 20;
inline int backplane = 100000;

// Last window size and view-volume extent, written by reshape.
inline int larghezza = 0;
inline int altezza = 0;
inline int x = 0;
inline int y = 0;
inline float ydivisox = 0.0f;

// Camera eye (view point), light position (light source point) and light colour.
inline int VPx = 0;
inline int VPy = 0;
inline int VPz = 120;
inline int LSPx = 0;
inline int LSPy = 0;
inline int LSPz = 200;
inline float R = 0.0f;
inline float G = 0.8f;
inline float B = 0.8f;

// The display the window was opened on, as named at start-up.
inline std::string schermo;

// Body-part display lists, compiled once at start-up.
inline GLuint piedeEcaviglia = 0;
inline GLuint stincoEginocchio = 0;
inline GLuint cosciaEgluteo = 0;
inline GLuint colloEtesta = 0;
inline GLuint bacino = 0;
inline GLuint panciaEtorace = 0;
inline GLuint bicipideEspalla = 0;
inline GLuint avambraccioEgomito = 0;
inline GLuint manoEpolso = 0;

}  // namespace scena

// Stands the figure to attention: every joint angle 0. Heading and position stay.
void Attenti();
