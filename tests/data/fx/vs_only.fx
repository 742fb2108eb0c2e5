// A vertex shader with the fixed-function pixel stage.
float4x4 WorldViewProj;
float Time = 0;

struct VS_OUT
{
    float4 Pos : POSITION;
    float4 Diffuse : COLOR0;
    float2 Tex : TEXCOORD0;
};

VS_OUT Wave(float4 pos : POSITION, float4 color : COLOR0, float2 tex : TEXCOORD0)
{
    VS_OUT o;
    pos.y += sin(pos.x + Time) * 0.1;
    o.Pos = mul(pos, WorldViewProj);
    o.Diffuse = color;
    o.Tex = tex;
    return o;
}

technique VertexOnly
{
    pass P0
    {
        VertexShader = compile vs_1_1 Wave();
        PixelShader = NULL;
        Lighting = FALSE;
    }
}
