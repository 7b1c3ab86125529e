// The title menu's loop.
#pragma once

// Draws the title or goal page and swaps until a start or quit request (or
// Escape, or a closed window). Called once by start-up, after the menu's key
// handler is installed.
void runTitleMenu();
