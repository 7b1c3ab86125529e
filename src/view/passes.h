// The two drawing passes of one game frame: the scene (or the escape frame)
// and the flat overlay over it.
#pragma once

// The world as the player sees it: in escape mode the blurred escape frame;
// otherwise the scene pass, the chaser's mirror sphere while it is active,
// and the six tiles of the environment view while that is on.
// Called by the frame loop once a frame, after the obstacle test.
void drawScenePass();
// The overlay: lighting off for it, hearts, score, compass, the crosshair
// (not in escape mode) and the text lines, without the depth test.
// Called by the frame loop once a frame, right after drawScenePass.
void drawOverlay();
