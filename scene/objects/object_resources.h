#pragma once
// The meshes and textures loaded while one level's objects are set up, kept by the path they
// were loaded from, so that objects naming the same file share one copy instead of each reading
// and decoding it again. Every object takes its own reference (AddRef) to what it is handed and
// releases it itself; the set releases only its own references when it goes, so objects
// outlive it. Only successful loads are kept: a file that fails is tried again, with its
// message, by every object that names it.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <map>
#include <string>

class Object_Resources {
public:
    Object_Resources();
    ~Object_Resources();

    // D3DXLoadMeshFromXA(path, options, device, ...) once per path: a later call for the same
    // path hands out the same mesh and materials buffer, each with a reference of its own.
    HRESULT LoadMesh(const char* path, DWORD options, IDirect3DDevice9* device,
                     ID3DXBuffer** materials, DWORD* materialCount, ID3DXMesh** mesh);
    // D3DXCreateTextureFromFileA(device, path, ...) once per path, in the same way.
    HRESULT LoadTexture(IDirect3DDevice9* device, const char* path, IDirect3DTexture9** texture);

private:
    struct Mesh {
        ID3DXMesh* mesh;
        ID3DXBuffer* materials;
        DWORD materialCount;
    };
    std::map<std::string, Mesh> meshes;
    std::map<std::string, IDirect3DTexture9*> textures;

    Object_Resources(const Object_Resources&) = delete;
    Object_Resources& operator=(const Object_Resources&) = delete;
};
