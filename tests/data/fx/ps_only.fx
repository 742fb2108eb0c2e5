// A pixel shader over the fixed-function vertex pipeline.
float4 Tint = {0.5, 1.0, 0.5, 1.0};
sampler2D Stage0 : register(s0);

float4 PS(float4 diffuse : COLOR0, float2 tex : TEXCOORD0) : COLOR0
{
    return tex2D(Stage0, tex) * diffuse * Tint;
}

technique PixelOnly
{
    pass P0
    {
        VertexShader = NULL;
        PixelShader = compile ps_2_0 PS();
    }
}
