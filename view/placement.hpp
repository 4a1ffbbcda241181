// Where the figure stands and which way it faces: turns change the heading,
// steps multiply a translation onto the modelview matrix and leave it there.
#pragma once

// Moves the figure d units along its heading (negative d: backwards).
void Avanza(double d);

void TraslaIndietro();  // 15 units back
void TraslaAvanti();    // 15 units forward
void RuotaADestra();    // heading -15
void RuotaASinistra();  // heading +15
void Ruota180();        // heading -180
