// The windowing, input, clock and texture-file services the game is written
// against: the classic GLFW 2 calls, provided here on top of GLFW 3. This
// folder and src/sound/ are the only places that include GLFW or SDL headers.
//
// Conventions of these calls (as GLFW 2 had them):
//  - one window only, so no call takes a window argument;
//  - key codes: printable keys are their upper-case ASCII code ('W' is 87),
//    special keys have the codes GLFW_KEY_ESC, GLFW_KEY_F1 ... below;
//  - callbacks take (key, action) / (button, action) / (x, y) and are run
//    only from inside glfwSwapBuffers, which also processes window events;
//  - time is seconds since glfwInit as a double.
//
// Tests drive the game deterministically through the seam at the bottom of
// this file: a settable clock, settable held keys and events handed straight
// to the installed callbacks.
#pragma once

namespace sys {

// Key codes (GLFW 2 numbering).
inline constexpr int keySpecial = 256;
inline constexpr int keyEsc = 257;
inline constexpr int keyF1 = 258;  // F1 ... F25 are keyF1 + 0 ... 24
inline constexpr int keyUp = 283, keyDown = 284, keyLeft = 285, keyRight = 286;
inline constexpr int keyLShift = 287, keyRShift = 288, keyLCtrl = 289, keyRCtrl = 290;
inline constexpr int keyLAlt = 291, keyRAlt = 292, keyTab = 293, keyEnter = 294;
inline constexpr int keyBackspace = 295, keyLast = 325;

inline constexpr int release = 0;
inline constexpr int press = 1;

inline constexpr int mouseButtonLeft = 0;
inline constexpr int mouseButtonRight = 1;
inline constexpr int mouseButtonMiddle = 2;

// glfwOpenWindow modes, glfwDisable tokens, glfwGetWindowParam parameters.
inline constexpr int windowMode = 0x00010001;
inline constexpr int fullscreenMode = 0x00010002;
inline constexpr int mouseCursor = 0x00030001;
inline constexpr int opened = 0x00020001;
// glfwLoadTexture2D flag: build the mipmap levels as well.
inline constexpr int buildMipmapsBit = 0x00000004;

using KeyCallback = void (*)(int key, int action);
using MouseButtonCallback = void (*)(int button, int action);
using MousePosCallback = void (*)(int x, int y);

// Starts the library. Returns 1 on success, 0 when no display can be reached.
// From here on, with the environment variable ORBITOR_GLFW_LOG naming a
// file, every error the library reports is appended to that file (a line
// each); the console is never written. Called once by start-up before the
// window is opened.
int glfwInit();
// Closes the window (if any) and stops the library. Called at shutdown, and
// after a failed glfwOpenWindow.
void glfwTerminate();
// Opens the game's one window with a compatibility OpenGL context, makes the
// context current and brings up the extension loader for it. In fullscreen
// mode the window covers the primary monitor at width x height; in window
// mode it is an ordinary width x height window (not resizable). Colour bits
// of 0 take the library's default. Returns 1 on success, 0 on failure.
int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits,
                   int alphaBits, int depthBits, int stencilBits, int mode);
void glfwSetWindowTitle(const char* title);
// glfwDisable(GLFW_MOUSE_CURSOR) hides the cursor and reports unbounded
// motion (mouse look), counted from (0, 0) where the cursor stood when it was
// disabled; glfwEnable gives the cursor back.
void glfwDisable(int token);
void glfwEnable(int token);
// Seconds since glfwInit (or the test clock, when a test has set one).
double glfwGetTime();
// GLFW_PRESS when the key is held down, GLFW_RELEASE otherwise.
int glfwGetKey(int key);
// GLFW_OPENED: 1 while the window is open and has not been asked to close.
int glfwGetWindowParam(int param);
// Installs (or, with nullptr, removes) a callback. The mouse-position callback
// is called once at installation with the current cursor position.
// Cursor positions reach the callback as cursorCoordinate of each axis.
void glfwSetKeyCallback(KeyCallback callback);
void glfwSetMouseButtonCallback(MouseButtonCallback callback);
void glfwSetMousePosCallback(MousePosCallback callback);
// Shows the frame just drawn, then processes pending window events, which
// runs the installed callbacks.
void glfwSwapBuffers();
// Reads a TGA file (uncompressed or RLE; 24/32-bit true colour, 8-bit
// colour-mapped or 8-bit greyscale; either origin) into the currently bound
// GL_TEXTURE_2D, bottom row first as OpenGL expects. With buildMipmapsBit the
// mipmap levels are made too. Returns 1 on success and 0 on any failure
// (missing, unreadable, truncated or not an image file); on failure the
// bound texture is left untouched.
int glfwLoadTexture2D(const char* name, int flags);

// A cursor coordinate as the whole number handed to the mouse-position
// callback: truncated toward zero, clamped to the range of int (the disabled
// cursor is unbounded), 0 for NaN. Needs no window.
int cursorCoordinate(double value);

// --- Test seam -------------------------------------------------------------
// From testSetTime on, glfwGetTime returns the given value until the next
// testSetTime or testUseRealClock.
void testSetTime(double seconds);
void testUseRealClock();
// From the first testSetKey on, glfwGetKey answers from the test's key table
// instead of the keyboard, until testUseRealKeys.
void testSetKey(int key, bool down);
void testReleaseAllKeys();
void testUseRealKeys();
// Hands an event to the installed callback, as glfwSwapBuffers would.
void testSendKey(int key, int action);
void testSendMouseButton(int button, int action);
void testSendMousePos(int x, int y);
// Asks the window to close, as the window manager's close button does (or,
// with false, withdraws the request): glfwGetWindowParam(GLFW_OPENED) then
// reports 0.
void testCloseWindow(bool closed = true);
// The GLFW 3 window handle, for platform-level tests only (nullptr if none).
void* testWindowHandle();

}  // namespace sys

// The game calls the services by their GLFW 2 names. The implementation file
// includes GLFW 3's own header, whose names these would clash with, so it
// defines ORBITOR_PLATFORM_IMPL and uses the sys:: names instead.
#ifndef ORBITOR_PLATFORM_IMPL
using sys::glfwDisable;
using sys::glfwEnable;
using sys::glfwGetKey;
using sys::glfwGetTime;
using sys::glfwGetWindowParam;
using sys::glfwInit;
using sys::glfwLoadTexture2D;
using sys::glfwOpenWindow;
using sys::glfwSetKeyCallback;
using sys::glfwSetMouseButtonCallback;
using sys::glfwSetMousePosCallback;
using sys::glfwSetWindowTitle;
using sys::glfwSwapBuffers;
using sys::glfwTerminate;

inline constexpr int GLFW_RELEASE = sys::release;
inline constexpr int GLFW_PRESS = sys::press;
inline constexpr int GLFW_KEY_ESC = sys::keyEsc;
inline constexpr int GLFW_KEY_F1 = sys::keyF1 + 0;
inline constexpr int GLFW_KEY_F2 = sys::keyF1 + 1;
inline constexpr int GLFW_KEY_F3 = sys::keyF1 + 2;
inline constexpr int GLFW_KEY_F4 = sys::keyF1 + 3;
inline constexpr int GLFW_KEY_F5 = sys::keyF1 + 4;
inline constexpr int GLFW_KEY_F6 = sys::keyF1 + 5;
inline constexpr int GLFW_KEY_F7 = sys::keyF1 + 6;
inline constexpr int GLFW_KEY_F8 = sys::keyF1 + 7;
inline constexpr int GLFW_KEY_F9 = sys::keyF1 + 8;
inline constexpr int GLFW_MOUSE_BUTTON_LEFT = sys::mouseButtonLeft;
inline constexpr int GLFW_MOUSE_BUTTON_RIGHT = sys::mouseButtonRight;
inline constexpr int GLFW_WINDOW = sys::windowMode;
inline constexpr int GLFW_FULLSCREEN = sys::fullscreenMode;
inline constexpr int GLFW_MOUSE_CURSOR = sys::mouseCursor;
inline constexpr int GLFW_OPENED = sys::opened;
inline constexpr int GLFW_BUILD_MIPMAPS_BIT = sys::buildMipmapsBit;
#endif
