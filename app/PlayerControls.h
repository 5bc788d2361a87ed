// The player's controls, read from the keyboard once per frame (GetKeyState: a key is down
// when the high-order byte of its state is non-zero).
//
// Hover controls (hoverControls != 0): keypad 6/4 turn 0.05 rad about the player's own vertical
// axis, keypad 8/2 step 0.8 along its nose; climbAccel restarts at 0 each frame, Up adds -0.1,
// Down +0.1. Flight controls: keypad 6/4 roll -0.1/+0.1 rad, keypad 8/2 pitch +0.05/-0.05 rad,
// the player flies `throttle` along its nose, then Up/Down change throttle by 0.1 (no limit).
#pragma once

// Whether the virtual key is down as of the last message taken from the queue.
bool isKeyDown(int virtualKey);
// Moves scene.player by the keys and the current scheme, in the fixed key order.
void applyPlayerControls();
// Hover controls only: climbSpeed += climbAccel, then the player moves climbSpeed along the
// world's vertical axis.
void applyHoverMotion();
