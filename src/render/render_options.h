// How frames are drawn. The drawing takes shortcuts that leave out work no
// pixel shows (copies of a particle that can add nothing more, a beam drawn
// again over itself, water cells outside the view, ...). With `shortcuts`
// off, every step is drawn the straightforward way instead; the frames must
// come out the same to the pixel, and the frame benchmark (tools/bench) and
// the view tests compare the two.
#pragma once

struct RenderOptions {
    bool shortcuts = true;
};

// Read by the drawing functions that take a shortcut; set by the benchmark
// and the tests (the game keeps the default).
extern RenderOptions renderOptions;
