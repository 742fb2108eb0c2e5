// Arrays of vectors and matrices, with initialisers.
float4x4 ViewProj;
float4x4 Bones[2];
float4 Palette[4] = { {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, float4(1, 1, 1, 1) };
float Weights[3] = {0.25, 0.5, 0.25};
int PaletteIndex = 2;

struct VS_OUT
{
    float4 Pos : POSITION;
    float4 Color : COLOR0;
};

VS_OUT VS(float4 pos : POSITION, float2 blend : TEXCOORD1)
{
    VS_OUT o;
    float4 skinned = mul(pos, Bones[0]) * blend.x + mul(pos, Bones[1]) * blend.y;
    o.Pos = mul(skinned, ViewProj);
    float4 c = 0;
    for (int i = 0; i < 3; i++)
        c += Palette[i] * Weights[i];
    o.Color = c + Palette[PaletteIndex] * 0.1;
    return o;
}

float4 PS(float4 c : COLOR0) : COLOR { return c; }

technique Skinned
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
