// Drawing the game's objects: the emitters and enemies from their lists,
// through the display-list registry (or, for an animated character, its
// model).
#pragma once

// Draws every emitter and every enemy (culled in drawRegistered).
// Called by the scene passes (game view and blur view) after the terrain.
void drawObjects();
