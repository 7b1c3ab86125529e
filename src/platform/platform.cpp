// GLFW 2-style window, input and clock services on GLFW 3.
#define ORBITOR_PLATFORM_IMPL
#include "platform/platform.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace sys {
namespace {

GLFWwindow* window = nullptr;
bool libraryUp = false;

KeyCallback keyCallback = nullptr;
MouseButtonCallback mouseButtonCallback = nullptr;
MousePosCallback mousePosCallback = nullptr;

// With the cursor disabled, positions are counted from where the cursor stood
// when it was disabled, so mouse look starts from (0, 0) as GLFW 2's locked
// mouse did; GLFW 3 itself would report the window centre first.
bool cursorLocked = false;
double cursorOriginX = 0, cursorOriginY = 0;

bool testClock = false;
double testTime = 0.0;
bool testKeys = false;
std::array<bool, keyLast + 1> testKeyDown{};

// With ORBITOR_GLFW_LOG naming a file, the windowing library's error reports
// are appended to it, one a line: what the console lines never say, such as
// why a display refused the window. Nothing is written otherwise.
void logLibraryError(int code, const char* description)
{
    const char* path = std::getenv("ORBITOR_GLFW_LOG");
    if (path == nullptr || *path == '\0')
        return;
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "GLFW error 0x%x: %s\n", code, description ? description : "");
        std::fclose(log);
    }
}

// GLFW 3 key code -> GLFW 2 key code (-1: a key the game has no code for).
int keyFromGlfw3(int key)
{
    if (key >= 32 && key <= 96)   // printable: space, digits, upper-case letters, punctuation
        return key;
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F25)
        return keyF1 + (key - GLFW_KEY_F1);
    switch (key) {
    case GLFW_KEY_ESCAPE: return keyEsc;
    case GLFW_KEY_UP: return keyUp;
    case GLFW_KEY_DOWN: return keyDown;
    case GLFW_KEY_LEFT: return keyLeft;
    case GLFW_KEY_RIGHT: return keyRight;
    case GLFW_KEY_LEFT_SHIFT: return keyLShift;
    case GLFW_KEY_RIGHT_SHIFT: return keyRShift;
    case GLFW_KEY_LEFT_CONTROL: return keyLCtrl;
    case GLFW_KEY_RIGHT_CONTROL: return keyRCtrl;
    case GLFW_KEY_LEFT_ALT: return keyLAlt;
    case GLFW_KEY_RIGHT_ALT: return keyRAlt;
    case GLFW_KEY_TAB: return keyTab;
    case GLFW_KEY_ENTER: return keyEnter;
    case GLFW_KEY_BACKSPACE: return keyBackspace;
    default: return -1;
    }
}

// GLFW 2 key code -> GLFW 3 key code (-1: none).
int keyToGlfw3(int key)
{
    if (key >= 'a' && key <= 'z')
        key -= 'a' - 'A';
    if (key >= 32 && key <= 96)
        return key;
    if (key >= keyF1 && key <= keyF1 + 24)
        return GLFW_KEY_F1 + (key - keyF1);
    switch (key) {
    case keyEsc: return GLFW_KEY_ESCAPE;
    case keyUp: return GLFW_KEY_UP;
    case keyDown: return GLFW_KEY_DOWN;
    case keyLeft: return GLFW_KEY_LEFT;
    case keyRight: return GLFW_KEY_RIGHT;
    case keyLShift: return GLFW_KEY_LEFT_SHIFT;
    case keyRShift: return GLFW_KEY_RIGHT_SHIFT;
    case keyLCtrl: return GLFW_KEY_LEFT_CONTROL;
    case keyRCtrl: return GLFW_KEY_RIGHT_CONTROL;
    case keyLAlt: return GLFW_KEY_LEFT_ALT;
    case keyRAlt: return GLFW_KEY_RIGHT_ALT;
    case keyTab: return GLFW_KEY_TAB;
    case keyEnter: return GLFW_KEY_ENTER;
    case keyBackspace: return GLFW_KEY_BACKSPACE;
    default: return -1;
    }
}

void onKey(GLFWwindow*, int key, int, int action, int)
{
    if (action == GLFW_REPEAT)   // GLFW 2 reported no repeats
        return;
    const int code = keyFromGlfw3(key);
    if (code >= 0 && keyCallback)
        keyCallback(code, action == GLFW_PRESS ? press : release);
}

void onMouseButton(GLFWwindow*, int button, int action, int)
{
    if (mouseButtonCallback)
        mouseButtonCallback(button, action == GLFW_PRESS ? press : release);
}

void reportedCursorPos(double x, double y, int& outX, int& outY)
{
    if (cursorLocked) {
        x -= cursorOriginX;
        y -= cursorOriginY;
    }
    outX = cursorCoordinate(x);
    outY = cursorCoordinate(y);
}

void onCursorPos(GLFWwindow*, double x, double y)
{
    if (!mousePosCallback)
        return;
    int ix = 0, iy = 0;
    reportedCursorPos(x, y, ix, iy);
    mousePosCallback(ix, iy);
}

}  // namespace

int cursorCoordinate(double value)
{
    // An unbounded cursor can be driven past what an int holds; the cast of
    // such a value (or of NaN) would be undefined.
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, lowest, highest));
}

int glfwInit()
{
    if (libraryUp)
        return 1;
    ::glfwSetErrorCallback(logLibraryError);
    libraryUp = ::glfwInit() == GLFW_TRUE;
    return libraryUp ? 1 : 0;
}

void glfwTerminate()
{
    if (window)
        glfwDestroyWindow(window);
    window = nullptr;
    cursorLocked = false;
    if (libraryUp)
        ::glfwTerminate();
    libraryUp = false;
}

int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits,
                   int alphaBits, int depthBits, int stencilBits, int mode)
{
    if (!libraryUp || window)
        return 0;
    glfwDefaultWindowHints();
    if (redBits > 0) glfwWindowHint(GLFW_RED_BITS, redBits);
    if (greenBits > 0) glfwWindowHint(GLFW_GREEN_BITS, greenBits);
    if (blueBits > 0) glfwWindowHint(GLFW_BLUE_BITS, blueBits);
    glfwWindowHint(GLFW_ALPHA_BITS, alphaBits > 0 ? alphaBits : GLFW_DONT_CARE);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
    // Fixed-function drawing needs a compatibility context; any version does.
    glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_API);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_ANY_PROFILE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    // A full-screen window that loses focus stays up (GLFW 2 did not iconify).
    glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);

    GLFWmonitor* monitor = mode == fullscreenMode ? glfwGetPrimaryMonitor() : nullptr;
    window = glfwCreateWindow(width, height, "", monitor, nullptr);
    if (!window)
        return 0;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    glewInit();   // function pointers for this context; the result is not needed
    glfwSetKeyCallback(window, onKey);
    glfwSetMouseButtonCallback(window, onMouseButton);
    glfwSetCursorPosCallback(window, onCursorPos);
    return 1;
}

void glfwSetWindowTitle(const char* title)
{
    if (window)
        ::glfwSetWindowTitle(window, title);
}

void glfwDisable(int token)
{
    if (window && token == mouseCursor) {
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
        if (glfwRawMouseMotionSupported())
            glfwSetInputMode(window, GLFW_RAW_MOUSE_MOTION, GLFW_TRUE);
        glfwGetCursorPos(window, &cursorOriginX, &cursorOriginY);
        cursorLocked = true;
    }
}

void glfwEnable(int token)
{
    if (window && token == mouseCursor) {
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
        cursorLocked = false;
    }
}

double glfwGetTime()
{
    if (testClock)
        return testTime;
    return libraryUp ? ::glfwGetTime() : 0.0;
}

int glfwGetKey(int key)
{
    if (testKeys)
        return key >= 0 && key <= keyLast && testKeyDown[key] ? press : release;
    const int code = keyToGlfw3(key);
    if (!window || code < 0)
        return release;
    return ::glfwGetKey(window, code) == GLFW_PRESS ? press : release;
}

int glfwGetWindowParam(int param)
{
    if (param == opened)
        return window && !glfwWindowShouldClose(window) ? 1 : 0;
    return 0;
}

void glfwSetKeyCallback(KeyCallback callback) { keyCallback = callback; }

void glfwSetMouseButtonCallback(MouseButtonCallback callback) { mouseButtonCallback = callback; }

void glfwSetMousePosCallback(MousePosCallback callback)
{
    mousePosCallback = callback;
    if (callback && window) {
        double x = 0, y = 0;
        glfwGetCursorPos(window, &x, &y);
        int ix = 0, iy = 0;
        reportedCursorPos(x, y, ix, iy);
        callback(ix, iy);
    }
}

void glfwSwapBuffers()
{
    if (!window)
        return;
    ::glfwSwapBuffers(window);
    glfwPollEvents();
}

void testSetTime(double seconds)
{
    testClock = true;
    testTime = seconds;
}

void testUseRealClock() { testClock = false; }

void testSetKey(int key, bool down)
{
    testKeys = true;
    if (key >= 0 && key <= keyLast)
        testKeyDown[static_cast<std::size_t>(key)] = down;
}

void testReleaseAllKeys()
{
    testKeys = true;
    testKeyDown.fill(false);
}

void testUseRealKeys()
{
    testKeys = false;
    testKeyDown.fill(false);
}

void testSendKey(int key, int action)
{
    if (keyCallback)
        keyCallback(key, action);
}

void testSendMouseButton(int button, int action)
{
    if (mouseButtonCallback)
        mouseButtonCallback(button, action);
}

void testSendMousePos(int x, int y)
{
    if (mousePosCallback)
        mousePosCallback(x, y);
}

void testCloseWindow(bool closed)
{
    if (window)
        glfwSetWindowShouldClose(window, closed ? GLFW_TRUE : GLFW_FALSE);
}

void* testWindowHandle() { return window; }

}  // namespace sys
