#include "entities/scene_object.h"

#include "entities/md2.h"

#include <iostream>

SceneObject::SceneObject(const char* name_, const char* modelPath_, const char* textureName_,
                         float x_, float y_, float z_, float rotationX_, float rotationY_,
                         float rotationZ_, float traceValue)
    : name(name_), modelPath(modelPath_), x(x_), y(y_), z(z_), textureName(textureName_),
      rotationX(rotationX_), rotationY(rotationY_), rotationZ(rotationZ_)
{
    std::cerr << "kostr" << std::endl;
    std::cerr << traceValue << std::endl;
}

void resetSceneObject(SceneObject& object)
{
    if (object.name == nullptr)
        return;
    object.name = nullptr;
    object.modelPath = nullptr;
    object.textureName = nullptr;
    object.x = object.y = object.z = 0;
    object.rotationX = object.rotationY = object.rotationZ = 0;
}

Character::Character(const char* name_, const char* modelPath_, const char* textureName_,
                     float x_, float y_, float z_, float rotationX_, float rotationY_,
                     float rotationZ_, float traceValue, std::int32_t hitPoints_, float speed_,
                     std::int32_t animationState_, std::int32_t points_)
    : SceneObject(name_, modelPath_, textureName_, x_, y_, z_, rotationX_, rotationY_, rotationZ_,
                  traceValue),
      hitPoints(hitPoints_), speed(speed_), animationState(animationState_),
      model(new Md2Model), points(points_)
{
}

Character::~Character()
{
    if (model)
        model->release();
    delete model;
}
