#include "scene/objects/object_super.h"

Object_Super::Object_Super()
{
    objectFile.fresh();
}

Object_Super::~Object_Super() {}

bool Object_Super::Load()
{
    return true;
}

void Object_Super::Render(int, bool) {}
