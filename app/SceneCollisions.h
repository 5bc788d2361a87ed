// The frame's collision tests and their responses.
#pragma once

// The player against boxes 0..2 (cubes), the pot (its triangles) and the terrain, each pushing
// the player out; every touch zeroes climbAccel and climbSpeed. Without any touch the hover
// gravity applies: climbAccel -= 0.01. Returns whether anything was touched.
bool resolvePlayerCollisions();
// Enemies, then every pool particle, then every missile, linked or not, held above the terrain
// (particles bounce).
void holdAboveTerrain();
