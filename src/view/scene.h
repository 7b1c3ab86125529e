// The scene passes: the game view, the reduced view for each cube-map face,
// and the view without sky used by the escape-mode blur.
#pragma once

// Sets up the lighting environment (called once by start-up).
void setupLights();
void renderScene();
void renderCubeFaceScene();
void renderBlurScene();
