#include "core/input.h"

#include "platform/platform.h"
#include "render/lighting.h"
#include "sound/sound.h"
#include "state/game_state.h"
#include "state/resources.h"

#include <cmath>
#include <cstdio>

TextureFilter textureFilterFor(int mipmapMode, bool linear)
{
    switch (mipmapMode) {
    case 1:
        return linear ? TextureFilter{GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST}
                      : TextureFilter{GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST};
    case 2:
        return linear ? TextureFilter{GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR}
                      : TextureFilter{GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR};
    default:
        return linear ? TextureFilter{GL_LINEAR, GL_LINEAR} : TextureFilter{GL_NEAREST, GL_NEAREST};
    }
}

namespace {

// F4 and F5 change only the texture bound when the key is handled.
void setBoundTextureFilter(const TextureFilter& filter)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter.magnification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter.minification);
}

void printCullRadiusAdjust()
{
    std::printf("%d\n", game.cullRadiusAdjust);
    std::fflush(stdout);
}

// Keys that act on press (P), on press and release (H, M, N), or on release.
void onPress(int key)
{
    switch (key) {
    case 'H':
        game.environmentSpeedX -= 1.0f;
        break;
    case 'P':
        // The sound pause: channel 1 and the music together.
        if (game.channelRunning) {
            FSOUND_SetPaused(1, true);
            FMUSIC_SetPaused(resources.music, true);
            game.channelRunning = false;
        } else {
            FSOUND_SetPaused(1, false);
            FMUSIC_SetPaused(resources.music, false);
            game.channelRunning = true;
        }
        break;
    case 'M':
        game.cullRadiusAdjust -= 1;
        printCullRadiusAdjust();
        break;
    case 'N':
        game.cullRadiusAdjust += 1;
        printCullRadiusAdjust();
        break;
    default:
        break;
    }
}

void onRelease(int key)
{
    switch (key) {
    case 'E':
        game.escapeMode = !game.escapeMode;
        if (game.escapeMode) {
            game.stepSize = 20;
            game.showEnvironment = false;
            game.chaserActive = false;
        } else {
            game.stepSize = 10;
            game.tunnelTextured = false;
        }
        break;
    case 'T':
        if (game.escapeMode) {
            game.tunnelTextured = !game.tunnelTextured;
        } else {
            game.environmentOffsetX = game.environmentOffsetY = 0;
            game.environmentSpeedX = game.environmentSpeedY = 0;
            game.showEnvironment = !game.showEnvironment;
        }
        break;
    case 'G':
        if (game.escapeMode)
            game.motionTime += 1;
        else
            game.environmentSpeedX += 1.0f;
        break;
    case 'H':
        // Unlike G, H does not look at the mode: press and release each act.
        game.motionTime -= 1;
        break;
    case 'V':
        game.environmentSpeedY += 1.0f;
        break;
    case 'B':
        game.environmentSpeedY -= 1.0f;
        break;
    case 'L':
        game.lightingEnabled = !game.lightingEnabled;
        setLighting(game.lightingEnabled);
        break;
    case 'M':
    case 'N':
        printCullRadiusAdjust();
        break;
    case GLFW_KEY_F1:
        game.paused = !game.paused;
        break;
    case GLFW_KEY_F2:
        game.showFps = !game.showFps;
        break;
    case GLFW_KEY_F3:
        game.wireframe = !game.wireframe;
        if (game.wireframe) {
            glDisable(GL_TEXTURE_2D);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        } else {
            glEnable(GL_TEXTURE_2D);
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        }
        break;
    case GLFW_KEY_F4:
        game.linearFiltering = !game.linearFiltering;
        setBoundTextureFilter(textureFilterFor(game.mipmapMode, game.linearFiltering));
        break;
    case GLFW_KEY_F5:
        setBoundTextureFilter(textureFilterFor(game.mipmapMode, !game.linearFiltering));
        game.mipmapMode = (game.mipmapMode + 1) % 3;
        break;
    case GLFW_KEY_F8:
        game.cullingEnabled = !game.cullingEnabled;
        break;
    case GLFW_KEY_F9:
        game.modelTranslucent = !game.modelTranslucent;
        break;
    default:
        break;
    }
}

}  // namespace

void gameKeyHandler(int key, int action)
{
    if (action == GLFW_PRESS)
        onPress(key);
    else if (action == GLFW_RELEASE)
        onRelease(key);
}

void mouseButtonHandler(int button, int action)
{
    const char* which = button == GLFW_MOUSE_BUTTON_LEFT    ? "Left mouse button "
                        : button == GLFW_MOUSE_BUTTON_RIGHT ? "Right mouse button "
                                                            : "Some mouse button ";
    std::printf("%s%s\n", which, action == GLFW_PRESS ? "pressed." : "released.");
    std::fflush(stdout);
    if (button == GLFW_MOUSE_BUTTON_LEFT)
        game.fireHeld = action == GLFW_PRESS;
}

void mouseMotionHandler(int x, int y)
{
    game.mouseX = static_cast<float>(x);
    game.mouseY = static_cast<float>(y);
    // Right turns right, down looks down; the accumulators are not clamped.
    game.mouseHeading += (game.mouseX - game.lastMouseX) / 15;
    game.mousePitch += (game.mouseY - game.lastMouseY) / 15;
    game.lastMouseX = game.mouseX;
    game.lastMouseY = game.mouseY;

    double pitch = game.mousePitch;
    if (pitch > 85)
        pitch = 85;
    if (pitch < -100)
        pitch = -100;
    game.pitch = pitch;
    // Into [0, 360); fmod rather than repeated subtraction, so that even a
    // huge accumulated value cannot stall the handler.
    float heading = std::fmod(game.mouseHeading, 360.0f);
    if (heading < 0)
        heading += 360.0f;
    if (heading >= 360.0f)
        heading = 0.0f;
    game.heading = heading;
}

void installGameHandlers()
{
    glfwSetKeyCallback(nullptr);
    glfwSetMousePosCallback(mouseMotionHandler);
    glfwSetMouseButtonCallback(mouseButtonHandler);
    glfwSetKeyCallback(gameKeyHandler);
}
