// The camera transform every world drawing step applies: the view from the
// player's eye, made of the pitch, the heading and the player's position.
#pragma once

// Eye height above the player's position on the ground plane.
inline constexpr double eyeHeight = 20.0;

// Multiplies the view onto the current matrix: rotate by pitch about x, by
// heading about y, translate by (-playerX, -20, -playerZ).
// Called by every drawing step that works in world space (terrain, registry
// objects, particles, beams, the model, the chaser sphere), after its own
// glLoadIdentity, and by the frame loop before it places light 0.
void applyCameraView();
