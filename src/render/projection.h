// The two viewport/projection set-ups the game draws with.
#pragma once

// Start-up: viewport 800 x 600, multiplies the game perspective (30 degrees,
// aspect 1.0, near 0.1, far 512.1) onto the projection, identity model-view,
// clears the buffers.
// Called once by start-up, before the start textures.
void setupStartProjection();
// Viewport 800 x 600, projection reset to the game perspective, identity
// model-view. Called by the frame loop after every capture of the
// environment views.
void resetProjection();
