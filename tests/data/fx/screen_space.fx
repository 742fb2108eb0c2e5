// Shader model 3 pixel inputs: the pixel position and the face side.
float4x4 WorldViewProj;
float4 Front = {1, 1, 1, 1};
float4 Back = {0.2, 0.2, 0.2, 1};

float4 VS(float4 p : POSITION) : POSITION { return mul(p, WorldViewProj); }

float4 PS(float2 vpos : VPOS, float face : VFACE) : COLOR
{
    float checker = fmod(floor(vpos.x / 8) + floor(vpos.y / 8), 2);
    return (face > 0 ? Front : Back) * (0.5 + 0.5 * checker);
}

technique Checker
{
    pass P0
    {
        VertexShader = compile vs_3_0 VS();
        PixelShader = compile ps_3_0 PS();
        CullMode = None;
    }
}
