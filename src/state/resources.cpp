#include "state/resources.h"

#include <cmath>

Resources resources;

float textureNameToFloat(GLuint name)
{
    // Converted as an unsigned integer: a name at or above 2^31 keeps its
    // value (it is not read as a negative number).
    return static_cast<float>(static_cast<double>(name));
}

GLuint textureNameFromFloat(float value)
{
    return static_cast<GLuint>(std::llround(static_cast<double>(value)));
}
