// The chaser's mirror sphere with its dynamic cube map, and the environment
// debugging view of six captured directions.
#pragma once

void setupEnvironmentMap();
void captureEnvironment();
void drawChaserSphere();
