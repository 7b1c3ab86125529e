// The menu pictures: the title page per difficulty (sp1, sp2, sp3), the goal
// page (sp4) and the help page shown while paused (spHelp). Written by
// generateMenuPages (assetgen.h).
#pragma once

// Texture sizes of the pages; the game stretches each over the 800 x 600
// screen. The title and goal pages, lettered large, are magnified and shown
// smoothly by the linear filter; the help page's small print needs the finer
// picture.
inline constexpr int menuPageWidth = 512;
inline constexpr int menuPageHeight = 512;
inline constexpr int helpPageWidth = 1024;
inline constexpr int helpPageHeight = 512;

// The goal limits the goal page prints for a difficulty (0 easy, 1 normal,
// 2 hard); they must agree with the game's difficulty table.
struct GoalPageLimits {
    int kills;
    int score;
    int seconds;
};
GoalPageLimits goalPageLimits(int difficulty);
