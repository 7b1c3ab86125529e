// A loaded MD2 key-frame model with its table of animation ranges, the frame
// advance and blending, and the two ways of drawing the blended frame (the
// skinned model, placed relative to the eye, and its flat black shadow).
#pragma once

#include "formats/file_formats.h"

#include <cstddef>
#include <cstdint>

// One row of the animation table: a frame range and its playing speed.
struct Md2Animation {
    std::int32_t firstFrame;
    std::int32_t lastFrame;
    std::int32_t framesPerSecond;
};

inline constexpr int md2AnimationCount = 21;

// One triangle corner as the drawing sends it: the skin coordinate and the
// interpolated position in model units, decoded with frame 0's scale and
// translate.
struct Md2Corner {
    float s, t;
    float x, y, z;
};

// The model, its animation state and the arrays read from the file. Every
// Character owns one, made unloaded by its constructor; only the player's is
// loaded (by loadPlayerModel at start-up).
struct Md2Model {
    Md2Animation animations[md2AnimationCount];   // filled by the constructor
    std::int32_t startFrame = 0, endFrame = 0, framesPerSecond = 0;   // the range being played
    std::int32_t currentFrame = 0, nextFrame = 0;
    float lastAdvanceTime = 0;        // seconds
    float interpolation = 0;          // 0..1 between current and next frame
    std::int32_t animationIndex = 0;  // table row being played

    // Either header is null and no array is held, or every array is held with
    // the sizes the header gives.
    Md2Header* header = nullptr;
    Md2SkinName* skins = nullptr;
    Md2Triangle* triangles = nullptr;
    Md2TexCoord* texCoords = nullptr;
    Md2FrameHeader* frames = nullptr;
    Md2Vertex** frameVertices = nullptr;
    Md2Vertex* interpolated = nullptr;   // scratch, refilled before each drawing
                                         // (vertex count entries; none without frames)

    // Fills the animation table; loads nothing. Called by Character's
    // constructor.
    Md2Model();
    ~Md2Model() { release(); }
    Md2Model(const Md2Model&) = delete;
    Md2Model& operator=(const Md2Model&) = delete;

    // Reads an MD2 file. Returns false, holding nothing, for a missing, damaged
    // or truncated file. Called once by loadPlayerModel at start-up (and the
    // tests).
    bool load(const char* path);
    // The same for a file's bytes already in memory (`size` bytes at `data`).
    // Called by load (and by the MD2 fuzz target and the tests).
    bool loadBytes(const std::uint8_t* data, std::size_t size);
    // Frees everything loaded; does nothing when nothing is loaded. Called by
    // load and loadBytes before they read, by the destructor, and by
    // Character's destructor.
    void release();
    // Plays table row `row`: copies its range, sets the next frame to the row's
    // first frame + 1; the current frame is kept. Called by loadPlayerModel
    // (standing) and by updatePlayerAnimation when the player starts or stops
    // running.
    void selectAnimation(int row);
    // Advances the frame counters for time t (seconds) and sets the blend.
    // Called by drawCharacter and drawShadow before they draw, when t > 0.
    void animate(float t);
    // Fills `interpolated` from the current and next frames. Called by draw and
    // drawShadow before they send the triangles.
    void interpolate();
    // Draws the skinned model at (x, y, z) relative to the eye. Called by
    // drawCharacter, in the scene passes that show the player.
    void draw(float x, float y, float z, float scale);
    // Animates (when t > 0) and draws the black shadow while lighting is on.
    // Called by drawPlayerShadow, in the game view's shadow step.
    void drawShadow(float t, float x, float y, float z, float scale);

    // The skin coordinate and decoded position of corner k (0..2) of triangle
    // `triangle` from the interpolated vertices. Needs a loaded model with frames.
    // Called by draw and drawShadow for every corner they send (and the tests).
    Md2Corner corner(int triangle, int k) const;

    // Something was loaded (for the tests).
    bool loaded() const { return header != nullptr; }
    // Something to draw: loaded and with at least one frame. Checked by draw,
    // drawShadow and interpolate before they touch the arrays.
    bool drawable() const { return header != nullptr && header->numFrames > 0; }
};
