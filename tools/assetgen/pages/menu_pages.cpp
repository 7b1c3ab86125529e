// Lays out the menu pages on the 800 x 600 screen. The game draws its cursor
// (a magenta ball about 78 x 58 pixels with two small blue balls above it)
// centred at x 140 and y 300 + 78 k for item k, so item labels start at x 200
// on those rows and the ball's column stays clear of text.
#include "pages/menu_pages.h"

#include "assetgen.h"
#include "pages/menu_backdrop.h"
#include "pages/menu_style.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr float labelX = 200;
constexpr float rowPlateLeft = 96;
float itemRow(int k) { return 300.0f + 78.0f * float(k); }
// The fifth goal item's ball is centred below the screen edge (only its top
// shows), so its label sits on a slimmer row fully inside the screen, level
// with the part of the ball that shows.
constexpr float lastGoalRow = 578;

const char* const difficultyNames[3] = {"Easy", "Normal", "Hard"};

bool save(const Canvas& canvas, const std::string& root, const char* name)
{
    return saveTga(canvas.image, root + "/Textures/" + name);
}

Canvas newPage(const BackdropPlan& plan, int width = menuPageWidth, int height = menuPageHeight)
{
    Canvas canvas(width, height);
    paintBackdrop(canvas, plan);
    return canvas;
}

// The three title pages share everything but the difficulty item, so the
// common picture is painted once and the item added to a copy per page.
bool writeTitlePages(const MenuFonts& fonts, const std::string& root)
{
    BackdropPlan plan;
    plan.seed = 7;
    plan.planetX = 660;
    plan.planetY = 420;
    plan.planetRadius = 128;
    plan.ringTilt = -0.32f;
    Canvas common = newPage(plan);

    paintLogo(common, *fonts.bold, "ORBITOR", 400, 168, 118, 4, true);
    paintLabel(common, {fonts.bold.get(), 15, 5.5f, condensed}, 400, 226, "DEFEND  THE  ISLAND", softBlue,
               Align::centre);
    for (int k = 0; k < 4; ++k)
        paintRowPlate(common, rowPlateLeft, 560, itemRow(k), 52);
    const TextStyle item{fonts.bold.get(), 33, 0.5f};
    paintLabel(common, item, labelX, itemRow(0), "Start game", labelWhite);
    paintLabel(common, item, labelX, itemRow(1), "Goal", labelWhite);
    paintLabel(common, item, labelX, itemRow(3), "Quit", labelWhite);
    paintKeyHints(common, fonts, 400, 584,
                  {{{"W", "S"}, "choose"}, {{"D"}, "select"}, {{"A"}, "back"}, {{"Esc"}, "quit"}});

    const char* const files[3] = {"sp1.tga", "sp2.tga", "sp3.tga"};
    bool ok = true;
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
        Canvas canvas = common;
        const float end = paintLabel(canvas, item, labelX, itemRow(2), "Difficulty: ", labelWhite);
        const Colour& colour = difficultyColours[difficulty];
        const float valueEnd = paintLabel(canvas, item, end, itemRow(2), difficultyNames[difficulty], colour);
        // Three pips show the level at a glance.
        for (int i = 0; i < 3; ++i) {
            Mask pip(canvas);
            const float x = valueEnd + 14 + 15.0f * float(i);
            fillRoundRect(pip, canvas, x, itemRow(2) - 8, x + 10, itemRow(2) + 8, 3);
            paint(canvas, pip, i <= difficulty ? colour : Colour{0.25f, 0.28f, 0.45f});
        }
        dither(canvas, 11);
        ok = save(canvas, root, files[difficulty]) && ok;
    }
    return ok;
}

bool writeGoalPage(const MenuFonts& fonts, const std::string& root)
{
    BackdropPlan plan;
    plan.seed = 21;
    plan.planetX = 62;
    plan.planetY = 96;
    plan.planetRadius = 96;
    plan.ringTilt = 0.38f;
    Canvas canvas = newPage(plan);

    paintLogo(canvas, *fonts.bold, "CHOOSE YOUR GOAL", 430, 92, 50, 2, false);
    paintLabel(canvas, {fonts.sans.get(), 16, 0}, 430, 132, "When your last life is lost, the game ends anyway.",
               softBlue, Align::centre);
    paintKeyHints(canvas, fonts, 430, 176, {{{"W", "S"}, "choose a goal"}, {{"A"}, "back to the title"}});

    const float columns[3] = {548, 632, 716};
    const TextStyle header{fonts.bold.get(), 15, 2.5f, condensed};
    for (int d = 0; d < 3; ++d) {
        std::string name = difficultyNames[d];
        for (char& c : name)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        paintLabel(canvas, header, columns[d], 246, name, difficultyColours[d], Align::centre);
    }

    struct Row {
        const char* label;
        const char* note;
        int which;   // 0 none, 1 kills, 2 score, 3 seconds, 4 unlimited
    };
    const Row rows[5] = {
        {"No goal", "play as you like", 0},
        {"Kill goal", "enemies to destroy", 1},
        {"Score goal", "points to score", 2},
        {"Time goal", "seconds to survive", 3},
        {"Endless", "fight on to the last life", 4},
    };
    const TextStyle label{fonts.bold.get(), 30, 0.5f};
    const TextStyle note{fonts.sans.get(), 15, 0};
    const TextStyle number{fonts.bold.get(), 24, 0};
    // The last row is a compact line: smaller type on a thin plate, with
    // air above it and below it to the screen's edge.
    const TextStyle lastLabel{fonts.bold.get(), 25, 0.5f};
    const TextStyle lastNote{fonts.sans.get(), 14, 0};
    const TextStyle lastNumber{fonts.bold.get(), 21, 0};
    for (int k = 0; k < 5; ++k) {
        const Row& row = rows[k];
        const bool last = k == 4;
        const float y = last ? lastGoalRow : itemRow(k);
        paintRowPlate(canvas, rowPlateLeft, 770, y, last ? 28 : 52);
        if (!last) {
            paintLabel(canvas, label, labelX, y - 8, row.label, labelWhite);
            paintLabel(canvas, note, labelX + 2, y + 16, row.note, dimBlue);
        } else {
            const float end = paintLabel(canvas, lastLabel, labelX, y, row.label, labelWhite);
            paintLabel(canvas, lastNote, end + 14, y + 1, row.note, dimBlue);
        }
        for (int d = 0; d < 3; ++d) {
            const GoalPageLimits limits = goalPageLimits(d);
            std::string text;
            switch (row.which) {
            case 1: text = std::to_string(limits.kills); break;
            case 2: text = std::to_string(limits.score); break;
            case 3: text = std::to_string(limits.seconds); break;
            case 4: text = "\u221e"; break;   // infinity
            default: text = "\u2013"; break;  // en dash
            }
            paintLabel(canvas, last ? lastNumber : number, columns[d], y, text,
                       row.which >= 1 && row.which <= 3 ? labelWhite : dimBlue, Align::centre);
        }
    }
    dither(canvas, 12);
    return save(canvas, root, "sp4.tga");
}

struct HelpLine {
    std::vector<std::string> keys;   // empty: a section title, or a tip with `tip`
    const char* text;
    bool tip = false;
};

// One column of the help page inside its panel.
void paintHelpColumn(Canvas& canvas, const MenuFonts& fonts, float left, float right, float top,
                     const std::vector<HelpLine>& lines)
{
    const float capSize = 20, keyColumn = left + 128, rowStep = 27, titleStep = 34;
    const TextStyle title{fonts.bold.get(), 14, 2.5f, condensed};
    const TextStyle text{fonts.sans.get(), 16, 0, condensed};
    float y = top;
    for (const HelpLine& line : lines) {
        if (line.tip) {
            if (&line != &lines.front() && !(&line - 1)->tip)
                y += 6;   // a little air between the keys and the tips
            const float end = paintLabel(canvas, text, left + 16, y, "\u2605", difficultyColours[1]);
            paintLabel(canvas, text, end + 8, y, line.text, softBlue);
            y += rowStep;
            continue;
        }
        if (line.keys.empty()) {
            y += titleStep - rowStep;
            paintLabel(canvas, title, left + 16, y, line.text, {0.55f, 0.8f, 1.0f});
            Mask rule(canvas);
            const float ruleStart = left + 16 + textWidth(title, line.text) + 10;
            fillLine(rule, canvas, ruleStart, y, right - 16, y, 1.0f);
            paint(canvas, rule, {0.4f, 0.55f, 0.95f}, 0.5f);
            y += rowStep;
            continue;
        }
        float width = 0;
        for (const std::string& key : line.keys)
            width += keycapWidth(fonts, key, capSize) + 4;
        float x = keyColumn - width;
        for (const std::string& key : line.keys)
            x += paintKeycap(canvas, fonts, x, y, key, capSize) + 4;
        paintLabel(canvas, text, keyColumn + 8, y, line.text, labelWhite);
        y += rowStep;
    }
}

bool writeHelpPage(const MenuFonts& fonts, const std::string& root)
{
    BackdropPlan plan;
    plan.seed = 33;
    plan.planetX = 700;
    plan.planetY = 560;
    plan.planetRadius = 150;
    plan.ringTilt = -0.2f;
    plan.brightness = 0.85f;
    Canvas canvas = newPage(plan, helpPageWidth, helpPageHeight);

    paintLogo(canvas, *fonts.bold, "PAUSED", 400, 78, 58, 6, false);
    paintKeyHints(canvas, fonts, 400, 112, {{{"F1"}, "resume the game"}});

    const float top = 138, bottom = 578;
    paintPanel(canvas, 22, top, 394, bottom);
    paintPanel(canvas, 406, top, 778, bottom);
    paintHelpColumn(canvas, fonts, 22, 394, top + 18,
                    {
                        {{}, "MOVE AND FIGHT"},
                        {{"W", "A", "S", "D"}, "walk forward, left, back, right"},
                        {{"Mouse"}, "look around"},
                        {{"Left button"}, "fire the laser"},
                        {{"Q", "E"}, "tilt the view down / up"},
                        {{"X", "Y"}, "turn right / left"},
                        {{"Esc"}, "quit the game"},
                        {{}, "GAME AND DISPLAY"},
                        {{"F1"}, "pause / resume (this page)"},
                        {{"F2"}, "frames per second on / off"},
                        {{"F3"}, "wireframe on / off"},
                        {{"F4"}, "texture filter linear / nearest"},
                        {{"F5"}, "next mipmap filter"},
                        {{}, "Every 500 points earn an extra life (up to 6)", true},
                        {{}, "The mirror sphere costs a life: keep away!", true},
                    });
    paintHelpColumn(canvas, fonts, 406, 778, top + 18,
                    {
                        {{}, "ESCAPE MODE"},
                        {{"E"}, "escape mode on / off"},
                        {{"T"}, "show the captured frames"},
                        {{"G", "H"}, "longer / shorter motion trail"},
                        {{}, "ENVIRONMENT VIEW"},
                        {{"T"}, "six cube-map views on / off"},
                        {{"G", "H"}, "move the viewpoint along x"},
                        {{"V", "B"}, "move the viewpoint along z"},
                        {{}, "WORLD AND SOUND"},
                        {{"L"}, "lighting on / off"},
                        {{"M", "N"}, "culling radius smaller / larger"},
                        {{"F8"}, "view culling on / off"},
                        {{"F9"}, "translucent character on / off"},
                        {{"P"}, "pause / resume the sound"},
                    });
    dither(canvas, 13);
    return save(canvas, root, "spHelp.tga");
}

}  // namespace

GoalPageLimits goalPageLimits(int difficulty)
{
    static const GoalPageLimits table[3] = {{50, 1000, 100}, {100, 2500, 250}, {250, 5000, 500}};
    return table[difficulty < 0 ? 0 : (difficulty > 2 ? 2 : difficulty)];
}

bool generateMenuPages(const std::string& root)
{
    MenuFonts fonts;
    if (!loadMenuFonts(fonts)) {
        std::fprintf(stderr, "assetgen: the menu pages need the DejaVu fonts (fonts-dejavu-core)\n");
        return false;
    }
    bool ok = true;
    ok = writeTitlePages(fonts, root) && ok;
    ok = writeGoalPage(fonts, root) && ok;
    ok = writeHelpPage(fonts, root) && ok;
    return ok;
}
