// The title menu's key handler (its loop is game/title_menu.h).
#pragma once

// W/S move the cursor (or the goal on the goal page), A leaves the goal page,
// D clicks and acts on the item under the cursor; all on release.
// Installed by start-up before the title menu; run from glfwSwapBuffers.
void menuKeyHandler(int key, int action);
