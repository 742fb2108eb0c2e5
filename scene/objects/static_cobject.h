#pragma once
// A static mesh object: a DirectX .x mesh with one material and at most one texture per subset,
// the names of the effects it is drawn through, and a world transform from the position and
// rotation the level gives it.
//
// Its object file, a parameter tree:
//   _MODEL_FILE_ { meshes\floor.x }   the first entry is the mesh path, opened as written
//   _FX_ { phong rim }                 effect names, drawn through in this order; none = no effect
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "foundation/orvex_string.h"
#include "scene/objects/object_super.h"

class Console;
class Object_Resources;
class Orvex_Effect_Manager;
class Orvex_Light_Manager;

class Static_CObject : public Object_Super {
public:
    // world starts as a copy of *initialWorld (the engine's identity). The object file at
    // objectFilePath is read into objectFile here; whether that worked is Load's business. A null
    // objectFilePath reads nothing: the caller fills objectFile (a generated object file).
    // The device is read through deviceSlot at every use. The managers and the console must
    // outlive the object.
    Static_CObject(const D3DXMATRIX* initialWorld, const char* objectFilePath,
                   IDirect3DDevice9** deviceSlot, Orvex_Effect_Manager* effectManager,
                   Orvex_Light_Manager* lightManager, Console* console);
    ~Static_CObject() override;

    // Builds the object from objectFile, in this order:
    //  - a file that did not load: "[!] Object File is corrupted and parameters are not
    //    loaded!" (_ERROR_) and false;
    //  - a file with no nodes: true at once, world left as it was;
    //  - the mesh of "_MODEL_FILE_" ("[M.F] cannot find: <path>" when it fails to load);
    //  - a material per subset with Ambient = Diffuse, and its texture tried as stored, then
    //    in textureFolder when one is set, then under "textures\", then as
    //    "textures\_def\def.bmp" ("[T.F] cannot find: <name>"
    //    when all three fail);
    //  - effectCount from "_FX_";
    //  - world = T(position) x Rx x Ry x Rz(rotation in degrees): the turn carries the
    //    position about the world origin too; a scale other than 1 comes first: S(scale) x T ...
    // A missing mesh or texture does not fail the load.
    bool Load() override;

    // Sets the world transform, then draws every subset through each named effect in order
    // (technique "vor_Phong" for the first light, "vor_Phong_alpha" for the others, after
    // "View_Pos", the matrices and the light's seven values; each subset with its material's
    // diffuse colour as "MaterialDiffuse" and its texture or else plainTexture), or without an
    // effect when the object names none or the effect manager does not know the name.
    void Render(int lightIndex, bool firstLight) override;

    // The effect name at a 1-based position under "_FX_"; "none" when the object names no
    // effect, an empty name past the last one.
    Orvex_string GetEffectName(unsigned index);
    // The box about the mesh's vertices in its own coordinates; false without a mesh, without
    // vertices, or when a coordinate is not finite.
    bool MeshBounds(D3DXVECTOR3* low, D3DXVECTOR3* high);
    // Sets position and scale and builds the world matrix again.
    void Place(const D3DXVECTOR3& where, float newScale);
    // Sets "mat_World_View_Proj" (world x view x projection) and "matWorld" on effect; nothing
    // when effect is null.
    void SetEffectMatrices(ID3DXEffect* effect, const D3DXMATRIX* view,
                           const D3DXMATRIX* projection);

    IDirect3DDevice9** deviceSlot;
    D3DXMATRIX world;
    float position[3];
    float rotation[3];   // degrees about X, Y, Z
    float scale;         // uniform; 1 for everything but opened models
    // Where an opened model's textures are looked for after their stored name: the model
    // file's folder, with its separator. Empty (as constructed) for level objects.
    Orvex_string textureFolder;
    ID3DXMesh* mesh;                  // owned; meaningful only while materialCount > 0
    D3DMATERIAL9* materials;          // owned, materialCount long
    IDirect3DTexture9** textures;     // owned with every texture in it; null where none
    DWORD materialCount;
    Console* console;
    Orvex_Effect_Manager* effectManager;
    Orvex_Light_Manager* lightManager;
    DWORD effectCount;
    // Where Load takes meshes and textures that other objects have loaded already; null (as
    // constructed) to load its own. Set by the object manager before Load; not owned.
    Object_Resources* resources;
    // A holder for the texture a subset without one is drawn with through an effect, so that
    // the effect's texture read gives white and the material's diffuse colour shows; null (as
    // constructed), or holding null, for none. Not owned.
    IDirect3DTexture9** plainTexture;

    // Draw state, rewritten on every draw.
    Orvex_string currentEffectName;
    ID3DXEffect* currentEffect;
    D3DXMATRIX viewMatrix;
    D3DXMATRIX projectionMatrix;
    DWORD effectIndex;
    DWORD subsetIndex;
    UINT passCount;
    UINT passIndex;

private:
    void LoadMesh(const Orvex_string& path);
    void LoadMaterials(ID3DXBuffer* materialBuffer);
    IDirect3DTexture9* LoadTexture(const char* name);
    bool CreateTexture(const char* path, IDirect3DTexture9** texture);
    void BuildWorld();
    void DrawSubsets();
    void DrawThroughEffect(int lightIndex, bool firstLight);

    Static_CObject(const Static_CObject&) = delete;
    Static_CObject& operator=(const Static_CObject&) = delete;
};
