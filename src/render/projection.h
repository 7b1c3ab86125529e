// The two viewport/projection set-ups the game draws with.
#pragma once

// Start-up: viewport 800 x 600, multiplies the game perspective (30 degrees,
// aspect 1.0, near 0.1, far 512.1) onto the projection, identity model-view,
// clears the buffers.
void setupStartProjection();
// Viewport 800 x 600, projection reset to the game perspective, identity
// model-view. Run after every rendering of environment views.
void resetProjection();
