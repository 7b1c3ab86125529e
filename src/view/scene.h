// The scene passes: the game view, the reduced view for each cube-map face,
// and the view without sky used by the escape-mode blur.
#pragma once

// Sets up the lighting environment (called once by start-up).
void setupLights();
// The game view: sky, sea, marker quad, terrain, objects, the player's
// shadow, beams and the player. Called by the scene pass every frame
// outside escape mode.
void renderScene();
// The reduced view of one captured face: sky, sea and terrain. Called by the
// environment capture for each of its six faces.
void renderCubeFaceScene();
// The view without sky, shadow or beams. Called by escape mode for its live
// view and for each capture.
void renderBlurScene();
