#pragma once
// One light of the level: a point with a colour and five shading coefficients that the lighting
// effects read (lights exist only as effect parameters, never as device lights).
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "foundation/dynamic_row.h"
#include "foundation/orvex_string.h"

class Orvex_Light {
public:
    // The defaults: white, at the origin with w = 0, falloff 1000, specular 8.5, specular
    // intensity 0.19, ambient 0.005, attenuation 0.8.
    Orvex_Light();
    virtual ~Orvex_Light();

    // Stores the name and reads the keys under the node iLookId(name) finds: "_POSITION_",
    // "_LOOK_", "_COLOR_" (three values, the fourth component becomes 1) and "_FALLOFF_",
    // "_SPECULAR_", "_SPECULAR_INTENSY_", "_AMBIENT_", "_ATTENUATION_" (one value). Parameters
    // and knots under a key both count as values; a key with too few is skipped; a value that
    // is not a finite number counts as 0. False when the node is missing or has no children.
    bool LoadFromTree(Orvex_string name, DynamicRow* tree);

    // The marker: the cube's four space diagonals and a vertical line with the first texture,
    // then the cube of half-size 15 and the lines from the top and bottom points to its corners
    // with the second. A null holder counts as no texture. Sets no world transform.
    void DrawMarker(IDirect3DDevice9** device, IDirect3DTexture9** firstTexture,
                    IDirect3DTexture9** secondTexture);

    Orvex_string name;
    D3DXVECTOR4 position;
    D3DXVECTOR4 lookAt;
    float falloff;
    float specular;
    float specularIntensity;
    float ambient;
    float attenuation;
    D3DXVECTOR4 color;
};
