#pragma once
// One viewpoint of the level: a named eye, a look-at point and orientation vectors read from the
// level tree, and the world, view and projection transforms it hands to the device.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

class Orvex_Camera {
public:
    // Name empty, autoRight set, worldMatrix the identity. The other fields get their defaults
    // from LoadFromTree, which the camera manager calls right after construction.
    Orvex_Camera();
    virtual ~Orvex_Camera();

    // Writes the defaults and the name, then reads the keys under the node iLookId(name) finds:
    // "_POSITION_", "_LOOK_", "_UP_", "_RIGHT_" (three values each) and "_MOVESPEED_" (one).
    // Only parameters count as values; a key with too few is skipped whole, the later of two
    // equal keys wins, and a value that is not a finite number counts as 0. Builds the view and
    // the fixed 4:3 projection. False, with the defaults in place and no matrix built, when the
    // node is missing or has no children.
    bool LoadFromTree(Orvex_string name, DynamicRow* tree);

    // Sets the device's world (identity), view and projection transforms, keeps the view and
    // projection, and while autoRight is set recomputes right = normalise(-d.z, 0, d.x) from the
    // viewing direction d. Called once per frame for the active camera by the frame drawing.
    // A matrix that would not be finite (points near the float range) is not built: the
    // camera keeps handing out its last finite one.
    void Apply(IDirect3DDevice9** device);

    // The wire marker of an inactive camera: world = identity, a line from position to lookAt,
    // a box of half-size 2 about lookAt and one of half-size 10 about position. Uses whatever
    // material, texture and vertex format the caller has set.
    void DrawMarker(IDirect3DDevice9** device);

    Orvex_string name;
    float moveSpeed;
    D3DXVECTOR3 position;
    D3DXVECTOR3 lookAt;
    D3DXVECTOR3 up;
    D3DXVECTOR3 right;
    D3DXMATRIX worldMatrix;
    D3DXMATRIX viewMatrix;
    D3DXMATRIX projectionMatrix;
    bool autoRight;
};
