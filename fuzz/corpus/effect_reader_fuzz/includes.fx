// Declarations come from an included file (included twice: the guard keeps one copy).
#include "include/common.fxh"
#include "include/common.fxh"

float4 PS(float2 tex : TEXCOORD0) : COLOR
{
    return tex2D(DiffuseSampler, tex);
}

technique Textured
{
    pass P0
    {
        VertexShader = compile vs_2_0 TransformVS();
        PixelShader = compile ps_2_0 PS();
    }
}
