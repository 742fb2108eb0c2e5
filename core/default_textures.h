#pragma once
// The default textures the engine and the render manager load at start-up: white, red, blue and
// yellow from textures\_def, in that order.
#include <d3d9.h>

class Console;

const int kDefaultTextureCount = 4;

// Gives each of the first count holders (count at most kDefaultTextureCount) a new texture
// pointer, then loads the default textures into them in table order. A texture that fails to
// load leaves its pointer null and logs "missed: <file>" as an error. Returns how many failed.
int LoadDefaultTextures(IDirect3DDevice9* device, Console* console, IDirect3DTexture9*** const holders[], int count);
