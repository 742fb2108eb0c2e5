#include "scene/cameras/camera.h"

#include <cmath>

#include "core/draw_lines.h"
#include "scene/level_file.h"

namespace {

const float kFieldOfView = 0.7853982f;
const float kAspect = 1.3333334f;
const float kNearPlane = 1.0f;
const float kFarPlane = 15000.0f;

bool IsFiniteMatrix(const D3DXMATRIX& m) {
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (!std::isfinite(m.m[row][col])) return false;
    return true;
}

// Builds both matrices from the camera's points; each is kept only when it came out finite.
void BuildMatrices(Orvex_Camera* camera) {
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &camera->position, &camera->lookAt, &camera->up);
    if (IsFiniteMatrix(view)) camera->viewMatrix = view;
    D3DXMatrixPerspectiveFovLH(&camera->projectionMatrix, kFieldOfView, kAspect, kNearPlane,
                               kFarPlane);
}

}  // namespace

Orvex_Camera::Orvex_Camera()
    : moveSpeed(0.1f),
      position(0.0f, 0.0f, 0.0f),
      lookAt(0.0f, 0.0f, 0.0f),
      up(0.0f, 1.0f, 0.0f),
      right(0.0f, 0.0f, 1.0f),
      autoRight(true) {
    D3DXMatrixIdentity(&worldMatrix);
    // Objects read these through the effect look-up before the first Apply of a camera whose
    // knot was missing; the identity is a harmless stand-in.
    D3DXMatrixIdentity(&viewMatrix);
    D3DXMatrixIdentity(&projectionMatrix);
}

Orvex_Camera::~Orvex_Camera() {}

bool Orvex_Camera::LoadFromTree(Orvex_string cameraName, DynamicRow* tree) {
    moveSpeed = 0.1f;
    position = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    lookAt = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    up = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    right = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    name = cameraName;

    unsigned id = tree->iLookId(name);
    if (id < 1 || CountLevelChildren(tree, id) < 1) return false;

    struct Key {
        const char* text;
        int values;
        float* target;
    };
    const Key keys[] = {
        {"_POSITION_", 3, &position.x}, {"_LOOK_", 3, &lookAt.x},        {"_UP_", 3, &up.x},
        {"_RIGHT_", 3, &right.x},       {"_MOVESPEED_", 1, &moveSpeed},
    };
    for (unsigned child = tree->TopId(id); child >= 1; child = tree->NextId(child)) {
        Orvex_string key = tree->iLookName(child);
        for (const Key& k : keys) {
            if (key != k.text) continue;
            if (tree->iCountParams(child) >= k.values)
                ReadLevelFloats(tree, child, k.target, k.values);
            break;
        }
    }
    BuildMatrices(this);
    return true;
}

void Orvex_Camera::Apply(IDirect3DDevice9** device) {
    BuildMatrices(this);
    if (device && *device) {
        (*device)->SetTransform(D3DTS_WORLD, &worldMatrix);
        (*device)->SetTransform(D3DTS_VIEW, &viewMatrix);
        (*device)->SetTransform(D3DTS_PROJECTION, &projectionMatrix);
    }
    if (autoRight) {
        const D3DXVECTOR3 direction = lookAt - position;
        D3DXVECTOR3 side(-direction.z, 0.0f, direction.x);
        D3DXVec3Normalize(&side, &side);
        if (std::isfinite(side.x) && std::isfinite(side.z)) right = side;
    }
}

void Orvex_Camera::DrawMarker(IDirect3DDevice9** device) {
    if (!device || !*device) return;
    (*device)->SetTransform(D3DTS_WORLD, &worldMatrix);
    DrawLine(position.x, position.y, position.z, lookAt.x, lookAt.y, lookAt.z, device);
    DrawWireBox(lookAt.x + 2.0f, lookAt.y + 2.0f, lookAt.z + 2.0f, lookAt.x - 2.0f,
                lookAt.y - 2.0f, lookAt.z - 2.0f, device);
    DrawWireBox(position.x + 10.0f, position.y + 10.0f, position.z + 10.0f, position.x - 10.0f,
                position.y - 10.0f, position.z - 10.0f, device);
}
