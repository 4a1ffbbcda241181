// The walk: a half-step, three full cycles and a closing half-step along the heading.
#pragma once

void Cammina();  // plays all 168 frames, then returns; posts no redisplay
