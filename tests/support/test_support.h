// Shared helpers of the tests: a real window for rendering tests (under the
// Xvfb display ./test starts), pixel read-back and PNG screenshots.
#pragma once

#include <cstdint>
#include <string>

struct Rgb {
    int r, g, b;
};

// Opens the game's 800 x 600 window once per test process; false (and the
// test should GTEST_SKIP or fail) when there is no display.
bool openTestWindow();
// The working directory holding Textures/, Modells/ and Sound/.
const char* assetDir();
// Reads the back buffer pixel at (x, y), counted from the top-left corner
// (the front buffer, i.e. the frame last shown, with `front`).
Rgb readPixel(int x, int y, bool front = false);
// Saves the back (or front) buffer as a PNG under build/screenshots/ and
// returns its path.
std::string saveScreenshot(const std::string& name, bool front = false);
