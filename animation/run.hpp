// The run: three stride cycles along the heading, arms pumping, then a slow-down.
#pragma once

void Corri();  // plays all 108 frames, then returns; posts no redisplay
