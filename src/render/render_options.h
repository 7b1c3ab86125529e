// How frames are drawn. The drawing takes shortcuts that leave out work no
// pixel shows:
// - copies of a particle that can add nothing more (entities/particles.cpp);
// - a beam drawn again over itself, and beam batches finished one at a time
//   (entities/shot_beams.cpp);
// - water cells outside the view (world/water.cpp);
// - the sky drawn last, under GL_LEQUAL (view/scene.cpp);
// - escape mode's live view taken from the capture just drawn, and its
//   placeholders of one texel (view/escape.cpp);
// - the environment view's captures left out while nothing they show
//   changes (view/environment.cpp);
// - the textures' mipmap levels built once the title page is on screen,
//   not before it (render/world_texture.cpp).
// With `shortcuts` off, every step is drawn the straightforward way instead;
// the frames must come out the same to the pixel, and the frame benchmark
// (tools/bench) and the view tests compare the two.
#pragma once

struct RenderOptions {
    bool shortcuts = true;
};

// Read by the drawing functions that take a shortcut; set by the benchmark
// and the tests (the game keeps the default).
extern RenderOptions renderOptions;
