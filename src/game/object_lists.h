// Freeing the game's object lists at exit.
#pragma once

// Frees every node and element of every list (emitters, enemies, shot
// beams, the registry). Called by start-up's shutdown, at exit.
void freeAllLists();
