#include "scene/objects/static_cobject.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "console/console.h"
#include "scene/effects/effect_manager.h"
#include "scene/level_file.h"
#include "scene/lights/light_manager.h"
#include "scene/objects/object_resources.h"

namespace {

const float kDegreesToRadians = 0.017453292f;

}  // namespace

Static_CObject::Static_CObject(const D3DXMATRIX* initialWorld, const char* objectFilePath,
                               IDirect3DDevice9** deviceSlot_, Orvex_Effect_Manager* effectManager_,
                               Orvex_Light_Manager* lightManager_, Console* console_)
    : deviceSlot(deviceSlot_),
      world(*initialWorld),
      scale(1.0f),
      mesh(NULL),
      materials(NULL),
      textures(NULL),
      materialCount(0),
      console(console_),
      effectManager(effectManager_),
      lightManager(lightManager_),
      effectCount(0),
      resources(NULL),
      plainTexture(NULL),
      currentEffect(NULL),
      effectIndex(0),
      subsetIndex(0),
      passCount(0),
      passIndex(0)
{
    assert(initialWorld && deviceSlot && console);
    position[0] = position[1] = position[2] = 0.0f;
    rotation[0] = rotation[1] = rotation[2] = 0.0f;
    D3DXMatrixIdentity(&viewMatrix);
    D3DXMatrixIdentity(&projectionMatrix);

    if (!objectFilePath) return;
    Orvex_string path;
    path = objectFilePath;
    objectFile.iLoadFromFile(path);
}

Static_CObject::~Static_CObject()
{
    if (textures) {
        for (DWORD i = 0; i < materialCount; ++i)
            if (textures[i]) textures[i]->Release();
    }
    delete[] textures;
    delete[] materials;
    if (mesh) mesh->Release();
}

bool Static_CObject::Load()
{
    if (!objectFile.IsLoaded()) {
        console->AddMessage("[!] Object File is corrupted and parameters are not loaded!", CONSOLE_ERROR);
        return false;
    }
    if (objectFile.NodeCount() == 0) return true;

    unsigned model = objectFile.iLookId("_MODEL_FILE_");
    if (model > 0 && CountLevelChildren(&objectFile, model) > 0)
        LoadMesh(objectFile.iLookName(objectFile.TopId(model)));

    unsigned fx = objectFile.iLookId("_FX_");
    effectCount = fx > 0 ? CountLevelChildren(&objectFile, fx) : 0;

    BuildWorld();
    return true;
}

void Static_CObject::LoadMesh(const Orvex_string& path)
{
    ID3DXBuffer* materialBuffer = NULL;
    DWORD count = 0;
    ID3DXMesh* loaded = NULL;
    HRESULT hr = resources ? resources->LoadMesh(path.getChars(), D3DXMESH_SYSTEMMEM, *deviceSlot,
                                                 &materialBuffer, &count, &loaded)
                           : D3DXLoadMeshFromXA(path.getChars(), D3DXMESH_SYSTEMMEM, *deviceSlot, NULL,
                                                &materialBuffer, NULL, &count, &loaded);
    if (FAILED(hr) || !loaded) {
        // A call that claims success without a mesh would leave subsets to draw on nothing.
        if (loaded) loaded->Release();
        if (materialBuffer) materialBuffer->Release();
        Orvex_string message;
        message = "[M.F] cannot find: ";
        message += path;
        console->AddMessage(message, CONSOLE_ERROR);
        return;
    }
    mesh = loaded;
    if (materialBuffer) {
        materialCount = count;
        LoadMaterials(materialBuffer);
        materialBuffer->Release();
    }
}

void Static_CObject::LoadMaterials(ID3DXBuffer* materialBuffer)
{
    const D3DXMATERIAL* stored = static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer());
    materials = new D3DMATERIAL9[materialCount];
    textures = new IDirect3DTexture9*[materialCount];
    for (DWORD i = 0; i < materialCount; ++i) {
        materials[i] = stored[i].MatD3D;
        materials[i].Ambient = materials[i].Diffuse;
        textures[i] = NULL;
        const char* name = stored[i].pTextureFilename;
        if (name && name[0]) textures[i] = LoadTexture(name);
    }
}

bool Static_CObject::CreateTexture(const char* path, IDirect3DTexture9** texture)
{
    IDirect3DDevice9* device = *deviceSlot;
    HRESULT hr = resources ? resources->LoadTexture(device, path, texture)
                           : D3DXCreateTextureFromFileA(device, path, texture);
    return SUCCEEDED(hr) && *texture;
}

IDirect3DTexture9* Static_CObject::LoadTexture(const char* name)
{
    IDirect3DTexture9* texture = NULL;
    if (CreateTexture(name, &texture)) return texture;

    Orvex_string beside = textureFolder;
    if (!textureFolder.empty() && beside.add(name) && CreateTexture(beside.getChars(), &texture))
        return texture;

    // A name too long for the folder to be put in front would be cut and name another file.
    Orvex_string inFolder;
    inFolder = "textures\\";
    if (inFolder.add(name) && CreateTexture(inFolder.getChars(), &texture)) return texture;

    if (CreateTexture("textures\\_def\\def.bmp", &texture)) return texture;

    Orvex_string message;
    message = "[T.F] cannot find: ";
    message += name;
    console->AddMessage(message, CONSOLE_ERROR);
    return NULL;
}

void Static_CObject::BuildWorld()
{
    D3DXMATRIX translation, turnX, turnY, turnZ;
    D3DXMatrixTranslation(&translation, position[0], position[1], position[2]);
    D3DXMatrixRotationX(&turnX, rotation[0] * kDegreesToRadians);
    D3DXMatrixRotationY(&turnY, rotation[1] * kDegreesToRadians);
    D3DXMatrixRotationZ(&turnZ, rotation[2] * kDegreesToRadians);
    D3DXMatrixMultiply(&world, &translation, &turnX);
    D3DXMatrixMultiply(&world, &world, &turnY);
    D3DXMatrixMultiply(&world, &world, &turnZ);
    if (scale != 1.0f) {
        D3DXMATRIX scaling;
        D3DXMatrixScaling(&scaling, scale, scale, scale);
        D3DXMatrixMultiply(&world, &scaling, &world);
    }
}

void Static_CObject::Place(const D3DXVECTOR3& where, float newScale)
{
    position[0] = where.x;
    position[1] = where.y;
    position[2] = where.z;
    scale = newScale;
    BuildWorld();
}

bool Static_CObject::MeshBounds(D3DXVECTOR3* low, D3DXVECTOR3* high)
{
    if (!mesh || mesh->GetNumVertices() == 0 || mesh->GetNumBytesPerVertex() < sizeof(D3DXVECTOR3))
        return false;
    void* vertices = NULL;
    if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices)) || !vertices) return false;
    HRESULT hr = D3DXComputeBoundingBox(static_cast<const D3DXVECTOR3*>(vertices), mesh->GetNumVertices(),
                                        mesh->GetNumBytesPerVertex(), low, high);
    mesh->UnlockVertexBuffer();
    const float values[6] = {low->x, low->y, low->z, high->x, high->y, high->z};
    for (float v : values)
        if (!std::isfinite(v)) return false;
    return SUCCEEDED(hr);
}

void Static_CObject::Render(int lightIndex, bool firstLight)
{
    (*deviceSlot)->SetTransform(D3DTS_WORLD, &world);
    if (effectCount == 0) {
        DrawSubsets();
        return;
    }
    DrawThroughEffect(lightIndex, firstLight);
}

void Static_CObject::DrawThroughEffect(int lightIndex, bool firstLight)
{
    IDirect3DDevice9* device = *deviceSlot;
    IDirect3DTexture9* plain = plainTexture ? *plainTexture : NULL;
    for (effectIndex = 1; effectIndex <= effectCount; ++effectIndex) {
        currentEffectName = GetEffectName(effectIndex);
        currentEffect = effectManager->FindEffect(currentEffectName, &viewMatrix, &projectionMatrix);
        SetEffectMatrices(currentEffect, &viewMatrix, &projectionMatrix);
        if (!currentEffect) {
            DrawSubsets();
            continue;
        }
        lightManager->ApplyLight(currentEffect, lightIndex);
        currentEffect->SetTechnique(firstLight ? "vor_Phong" : "vor_Phong_alpha");
        // Effects that take no material colour are left as they are.
        D3DXHANDLE diffuseParameter = currentEffect->GetParameterByName(NULL, "MaterialDiffuse");
        passCount = 0;
        currentEffect->Begin(&passCount, 0);
        for (passIndex = 0; passIndex < passCount; ++passIndex) {
            currentEffect->BeginPass(passIndex);
            for (DWORD s = 0; s < materialCount; ++s) {
                device->SetMaterial(&materials[s]);
                device->SetTexture(0, textures[s] ? textures[s] : plain);
                if (diffuseParameter) {
                    const D3DCOLORVALUE& diffuse = materials[s].Diffuse;
                    const D3DXVECTOR4 colour(diffuse.r, diffuse.g, diffuse.b, diffuse.a);
                    currentEffect->SetVector(diffuseParameter, &colour);
                    currentEffect->CommitChanges();
                }
                mesh->DrawSubset(s);
            }
            currentEffect->EndPass();
        }
        currentEffect->End();
    }
}

void Static_CObject::DrawSubsets()
{
    IDirect3DDevice9* device = *deviceSlot;
    for (subsetIndex = 0; subsetIndex < materialCount; ++subsetIndex) {
        device->SetMaterial(&materials[subsetIndex]);
        device->SetTexture(0, textures[subsetIndex]);
        mesh->DrawSubset(subsetIndex);
    }
}

Orvex_string Static_CObject::GetEffectName(unsigned index)
{
    Orvex_string name;
    if (effectCount == 0) {
        name = "none";
        return name;
    }
    unsigned fx = objectFile.iLookId("_FX_");
    unsigned entry = fx > 0 ? objectFile.TopId(fx) : 0;
    for (unsigned step = 1; step < index && entry > 0; ++step) entry = objectFile.NextId(entry);
    if (index >= 1 && entry > 0) name = objectFile.iLookName(entry);
    return name;
}

void Static_CObject::SetEffectMatrices(ID3DXEffect* effect, const D3DXMATRIX* view,
                                       const D3DXMATRIX* projection)
{
    if (!effect) return;
    D3DXMATRIX worldViewProjection;
    D3DXMatrixMultiply(&worldViewProjection, &world, view);
    D3DXMatrixMultiply(&worldViewProjection, &worldViewProjection, projection);
    effect->SetMatrix("mat_World_View_Proj", &worldViewProjection);
    effect->SetMatrix("matWorld", &world);
}
