// The menu pages (title by difficulty, goal page) with the three-sphere
// cursor, and the pause page with the help picture.
#pragma once

// The title page of the chosen difficulty with the cursor on the menu item.
// Called by the title menu's loop once a pass while the goal page is not shown.
void drawTitleScreen();
// The goal page with the cursor on the chosen goal. Called by the title
// menu's loop once a pass while the goal page is shown.
void drawGoalScreen();
// The help picture over the whole window. Called by the pause page's loop
// (runPausePage) once a pass while the game is paused.
void drawPauseScreen();
