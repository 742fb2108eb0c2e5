// Uniform arguments in compile statements choose the variant.
float4x4 WorldViewProj;
float4 Color = {1, 1, 1, 1};

float4 VS(float4 p : POSITION, uniform float scale) : POSITION
{
    return mul(float4(p.xyz * scale, 1), WorldViewProj);
}

float4 PS(uniform float brightness, uniform bool invert) : COLOR
{
    float4 c = Color * brightness;
    return invert ? 1 - c : c;
}

technique Normal
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS(1.0);
        PixelShader = compile ps_2_0 PS(1.0, false);
    }
}

technique Inverted
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS(1.5);
        PixelShader = compile ps_2_0 PS(0.5, true);
    }
}
