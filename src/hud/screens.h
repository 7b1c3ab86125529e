// The menu pages (title by difficulty, goal page) with the three-sphere
// cursor, and the pause page with the help picture.
#pragma once

void drawTitleScreen();
void drawGoalScreen();
void drawPauseScreen();
