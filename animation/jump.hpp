// The jump on the spot: crouch, push off, rise with the arms up, hover, land.
#pragma once

void Salta();  // plays all 115 frames, then returns; posts no redisplay
