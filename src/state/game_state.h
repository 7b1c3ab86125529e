// What one game changes: positions, clocks, counters, toggles and menu
// choices that more than one part of the game reads or writes. There is
// exactly one instance, `game`, alive from before main() until exit; every
// subsystem reads and writes its fields directly on the main thread.
//
// A new game (or a test) starts again with the one statement
//     game = GameState{};
// which keeps everything start-up made (textures, the player's model,
// explosion systems, sounds): that lives in `resources` (state/resources.h).
// Variables used by only one subsystem live in that subsystem's own file.
#pragma once

// Half-width of the square within which the chaser catches the player; also
// the eye height of a shot and the right edge of the end word.
inline constexpr double catchDistance = 20.0;
// The window's drawing area as floats, for screen-space drawing.
inline constexpr double screenWidth = 800.0;
inline constexpr double screenHeight = 600.0;

struct GameState {
    // --- Player and view -------------------------------------------------
    double playerX = 0, playerZ = 0;            // player (camera focus) on the ground plane
    double prevPlayerX = 0, prevPlayerZ = 0;    // before the last movement step
    double olderPlayerX = 0, olderPlayerZ = 0;  // two movement steps back
    float heading = 0;                          // yaw, degrees; positive turns right
    float headingRadians = 0;                   // heading in radians, refreshed per step
    double pitch = 10.0;                        // degrees; positive looks down; [-100, 85]
    float mouseHeading = 0;                     // unbounded yaw from mouse motion
    float mousePitch = 20.0f;                   // unclamped pitch from mouse motion
    float mouseX = 0, mouseY = 0;               // latest mouse report
    float lastMouseX = 0, lastMouseY = 0;       // the report before
    int stepSize = 10;                          // 10, or 20 in escape mode
    bool blockedStepBack = false;               // probe inside an obstacle box
    bool blockedStepBackTwice = false;          // probe inside a world wall
    bool runningAnimation = false;              // the player plays the running frames

    // --- Title menu and modes --------------------------------------------
    float menuCursor = 0;                       // title menu item, 0..3
    bool inGoalMenu = false;                    // the goal page is shown
    int difficulty = 0;                         // 0, 1, 2
    int goalMode = 0;                           // 0..4
    bool gameStartRequested = false;
    bool quitRequested = false;
    bool escapeMode = false;
    bool showEnvironment = false;               // environment debugging view
    float environmentOffsetX = 0, environmentOffsetY = 0;  // [-500, 500]
    float environmentSpeedX = 0, environmentSpeedY = 0;
    bool tunnelTextured = false;
    int motionTime = 0;
    bool wireframe = false;
    bool linearFiltering = false;
    int mipmapMode = 0;                         // 0, 1, 2
    bool paused = false;
    bool showFps = false;
    bool lightingEnabled = true;
    bool cullingEnabled = true;
    bool modelTranslucent = false;
    int cullRadiusAdjust = 0;
    bool channelRunning = true;                 // sound not paused by P (channel 1 and the music)
    int objectsDrawn = 0;                       // objects that passed the view test

    // --- Rules, counters and goal parameters -----------------------------
    int lives = 3;
    int score = 0;
    int bonusPoints = 0;                        // toward the next extra life
    int kills = 0;
    int enemyLevel = 0;                         // hit points of released enemies
    int emitterDensity = 0;                     // enemies are worth 10 x this
    int emitterInterval = 0;                    // seconds between releases
    int killGoal = 0;
    int scoreGoal = 0;
    float timeGoal = 0;
    float startTime = 0;                        // glfwGetTime before the menu is drawn

    // --- Chaser -----------------------------------------------------------
    bool chaserActive = false;
    float chaserX = 0, chaserZ = 0;
    int chaserSteps = 0;
    float chaserClock = 0;                      // runs at a tenth of real time
    float chaserClockLast = 0;

    // --- Shots and explosions -------------------------------------------
    bool fireHeld = false;
    bool explosionPending = false;
    float explosionX = 0, explosionY = 0, explosionZ = 0;
    int explosionSystem = 0;                    // 0, 1, 2, 3, then 0 again

    // --- Timing -----------------------------------------------------------
    double frameCount = 0;                      // frames since the last FPS update
    double fps = 0;
};

// The one game (game_state.cpp).
extern GameState game;

