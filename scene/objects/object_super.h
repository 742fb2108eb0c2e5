#pragma once
// The base of every scene object: the object manager loads, draws and destroys objects only
// through these three virtual operations.
#include "foundation/dynamic_row.h"

class Object_Super {
public:
    // objectFile starts empty; the concrete kind reads its own file into it.
    Object_Super();
    virtual ~Object_Super();

    // Interprets objectFile and builds the object. True on success; the manager destroys an
    // object whose Load fails. The base kind has nothing to load.
    virtual bool Load();
    // Draws the object for the light with that id (1 for the first light); firstLight is true
    // exactly for light 1. Called by the object manager inside the frame's scene, lights in the
    // outer loop and objects in the inner one. The base kind draws nothing.
    virtual void Render(int lightIndex, bool firstLight);

    DynamicRow objectFile;
};
