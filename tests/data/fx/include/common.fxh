// Shared declarations for effects that include them.
#ifndef COMMON_FXH
#define COMMON_FXH
float4x4 WorldViewProj : WORLDVIEWPROJECTION;

struct VS_OUT
{
    float4 Pos : POSITION;
    float2 Tex : TEXCOORD0;
};

VS_OUT TransformVS(float4 pos : POSITION, float2 tex : TEXCOORD0)
{
    VS_OUT o;
    o.Pos = mul(pos, WorldViewProj);
    o.Tex = tex;
    return o;
}
#include "sampling.fxh"
#endif
