// The laser: a shot is decided in the frame it is fired. It hits the nearest
// enemy on the line of sight within 300 units, judged by the direction in the
// ground plane and by the elevation, and leaves a red beam either way.
#include "entities/shots.h"

#include "entities/enemies.h"
#include "platform/platform.h"
#include "state/game_state.h"

#include <cmath>

namespace {

constexpr float pi = 3.14159265358979f;
constexpr float reachLimit = 300.0f;
constexpr float beamLifetime = 0.4f;
constexpr float beamStartY = -6.0f;
constexpr float shotEyeHeight = static_cast<float>(catchDistance);

}  // namespace

float normalizedHeading(float heading)
{
    float h = std::fmod(heading, 360.0f);
    if (h < 0.0f)
        h += 360.0f;
    // A tiny negative remainder can round up to exactly 360.
    if (h >= 360.0f)
        h -= 360.0f;
    return h;
}

int directionCode(float heading)
{
    if (heading == 0.0f)
        return 6;
    if (heading == 90.0f)
        return 7;
    if (heading == 180.0f)
        return 5;
    if (heading == 270.0f)
        return 8;
    if (heading < 90.0f)   // negative headings fall in here too
        return 1;
    if (heading < 180.0f)
        return 2;
    if (heading < 270.0f)
        return 3;
    return 4;
}

int quadrantOf(float dx, float dz)
{
    if (dx > 0.0f)
        return dz <= 0.0f ? 1 : 2;
    return dz > 0.0f ? 3 : 4;
}

bool quadrantAccepted(int code, int quadrant)
{
    switch (code) {
    case 1:
    case 2:
    case 3:
    case 4:
        return quadrant == code;
    case 5:
        return quadrant == 2 || quadrant == 3;
    case 6:
        return quadrant == 1 || quadrant == 4;
    case 7:
        return quadrant == 1 || quadrant == 2;
    case 8:
        return quadrant == 3 || quadrant == 4;
    default:
        return false;
    }
}

float hitDistance(int code, float px, float pz, float eyeHeight, float pitch, float reach,
                  float ux, float uz)
{
    if (!enemyList.cursor->occupied)
        return -1.0f;
    const Character& enemy = *enemyList.cursor->element;

    const float dx = enemy.x - px;
    const float dz = enemy.z - pz;
    if (std::fabs(dx) < 0.01f && std::fabs(dz) < 0.01f)
        return -1.0f;
    // An aim within the direction window of an axis (codes 1 to 4 only; the
    // axis codes accept both sides already) reaches across that axis, by no
    // more than the window: the quadrant across is accepted when the enemy's
    // signed direction lies within 0.01 of the aim's.
    const int quadrant = quadrantOf(dx, dz);
    const bool inQuadrant = quadrantAccepted(code, quadrant);
    const bool betweenCodes = code >= 1 && code <= 4 && !inQuadrant;
    const int acrossZAxis[5] = {0, 4, 3, 2, 1};   // dx's sign flipped
    const int acrossXAxis[5] = {0, 2, 1, 4, 3};   // dz's sign flipped
    const bool overZAxis =
        betweenCodes && ux <= 0.01f && quadrantAccepted(code, acrossZAxis[quadrant]);
    const bool overXAxis =
        betweenCodes && uz <= 0.01f && quadrantAccepted(code, acrossXAxis[quadrant]);
    if (!inQuadrant && !overZAxis && !overXAxis)
        return -1.0f;
    const float dist = std::sqrt(dx * dx + dz * dz);
    if (dist > reach)
        return -1.0f;

    // The enemy's direction must match the view's on both axes.
    const float nx = std::fabs(dx) < 0.01f ? 0.0f : dx / dist;
    const float nz = std::fabs(dz) < 0.01f ? 0.0f : dz / dist;
    const float anx = std::fabs(nx);
    const float anz = std::fabs(nz);
    if (!(ux - 0.01f <= anx && anx <= ux + 0.01f && uz - 0.01f <= anz && anz <= uz + 0.01f))
        return -1.0f;
    if ((overZAxis && anx + ux > 0.01f) || (overXAxis && anz + uz > 0.01f))
        return -1.0f;

    // And it must lie within two degrees of the view's pitch.
    const float hgt = std::fabs(eyeHeight - enemy.y);
    const float d3 = std::sqrt(dist * dist + hgt * hgt);
    const float elevation = std::asin(hgt / d3) * 180.0f / pi;
    if (pitch - 2.0f <= elevation && elevation <= pitch + 2.0f)
        return d3;
    return -1.0f;
}

void addShotBeam(float endX, float endY, float endZ, float startX, float startY, float startZ,
                 float fireTime)
{
    append(shotBeamList,
           new ShotBeam{endX, endY, endZ, startX, startY, startZ, fireTime, beamLifetime});
}

void fireShot()
{
    const float px = static_cast<float>(game.playerX);
    const float pz = static_cast<float>(game.playerZ);
    const float p = static_cast<float>(game.pitch);
    // The heading keys can leave the heading negative or at 360; the hit
    // test's direction codes only know [0, 360).
    const float h = normalizedHeading(game.heading);

    float r;
    if (p == 0.0f)
        r = reachLimit;
    else if (p == -90.0f)
        r = 0.0f;
    else
        r = reachLimit * std::cos(p * pi / 180.0f);

    const float hr = h * pi / 180.0f;
    const float sx = std::sin(hr) * r;
    const float sz = std::cos(hr) * r;
    const float ux = std::fabs(sx) < 0.1f ? 0.0f : std::fabs(sx / r);
    const float uz = std::fabs(sz) < 0.1f ? 0.0f : std::fabs(sz / r);
    const int code = directionCode(h);

    float best = reachLimit;
    Character* target = nullptr;
    forEach(enemyList, [&](Character& enemy) {
        const float d = hitDistance(code, px, pz, shotEyeHeight, p, r, ux, uz);
        if (d != -1.0f && d < best) {
            best = d;
            target = &enemy;
        }
    });

    const float now = static_cast<float>(glfwGetTime());
    if (!target) {
        const float pr = p * pi / 180.0f;
        addShotBeam(px + reachLimit * std::cos(pr) * std::sin(hr),
                    19.0f - reachLimit * std::sin(pr),
                    pz - reachLimit * std::cos(pr) * std::cos(hr), px, beamStartY, pz, now);
        return;
    }

    game.explosionSystem = game.explosionSystem >= 3 ? 0 : game.explosionSystem + 1;
    game.explosionPending = true;
    game.explosionX = target->x;
    game.explosionY = target->y;
    game.explosionZ = target->z;
    addShotBeam(target->x, target->y, target->z, px, beamStartY, pz, now);

    target->hitPoints -= 1;
    if (target->hitPoints >= 1)
        return;

    game.score += target->points;
    game.kills += 1;
    game.bonusPoints += target->points;
    if (game.bonusPoints >= 500) {
        game.bonusPoints -= 500;
        if (game.lives < 6)
            game.lives += 1;
    }

    forEach(enemyList, [&](Character& enemy) {
        if (&enemy != target)
            return;
        Character* destroyed = removeCurrent(enemyList);
        resetSceneObject(*destroyed);
        delete destroyed;
    });
}
