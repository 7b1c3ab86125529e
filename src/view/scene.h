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

// Whether renderBlurScene, drawn again at once with the same camera and
// clock, would draw the very same picture whatever GL state it starts from.
// Every step of the pass sets what it draws with, except the marker quad,
// which takes its normal (and, without the sea, its texturing) from what was
// drawn before it; so: true when the marker quad lies wholly outside the view
// volume. Called by escape mode after a capture, to show the captured
// picture as the live view instead of drawing it again.
bool blurSceneRepeats();
// What drawing renderBlurScene again would change besides the picture: the
// sea's clock (when the sea is in view; the view volume is still the pass's)
// and the count of objects drawn (`objectsDrawn`, the pass's own count).
// Called by escape mode in place of that second pass.
void repeatBlurSceneEffects(int objectsDrawn);
