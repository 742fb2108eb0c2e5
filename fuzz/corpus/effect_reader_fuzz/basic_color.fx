// One technique, one pass, one colour.
float4x4 WorldViewProj : WORLDVIEWPROJECTION;
float4 Tint = {1.0, 0.5, 0.25, 1.0};

float4 VS(float4 pos : POSITION) : POSITION
{
    return mul(pos, WorldViewProj);
}

float4 PS() : COLOR
{
    return Tint;
}

technique Solid
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
