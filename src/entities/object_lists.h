#pragma once

// Frees every node and element of every list. Called at exit.
void freeAllLists();
