#include "core/default_textures.h"

#include <cassert>
#include <d3dx9.h>

#include "console/console.h"

namespace {

struct DefaultTexture {
    const char* file;
    const char* missed;
};

const DefaultTexture kDefaultTextures[kDefaultTextureCount] = {
    {"textures\\_def\\white.bmp", "missed: textures\\_def\\white.bmp"},
    {"textures\\_def\\red.bmp", "missed: textures\\_def\\red.bmp"},
    {"textures\\_def\\Blue.bmp", "missed: textures\\_def\\Blue.bmp"},
    {"textures\\_def\\yellow.bmp", "missed: textures\\_def\\yellow.bmp"},
};

}  // namespace

int LoadDefaultTextures(IDirect3DDevice9* device, Console* console, IDirect3DTexture9*** const holders[], int count)
{
    assert(count >= 0 && count <= kDefaultTextureCount);
    for (int i = 0; i < count; ++i)
        *holders[i] = new IDirect3DTexture9*(NULL);
    int missed = 0;
    for (int i = 0; i < count; ++i) {
        IDirect3DTexture9** holder = *holders[i];
        if (FAILED(D3DXCreateTextureFromFileA(device, kDefaultTextures[i].file, holder))) {
            *holder = NULL;
            ++missed;
            console->AddMessage(kDefaultTextures[i].missed, CONSOLE_ERROR);
        }
    }
    return missed;
}
