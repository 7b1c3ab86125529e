// The title menu: its key handler and its loop.
#pragma once

// W/S move the cursor (or the goal on the goal page), A leaves the goal page,
// D clicks and acts on the item under the cursor; all on release.
void menuKeyHandler(int key, int action);
// Draws the title or goal page and swaps until a start or quit request (or
// Escape, or a closed window).
void runTitleMenu();
