// Macros and conditions choose what is compiled.
#define QUALITY 2
#define SCALE(x) ((x) * 0.5)
#define PROFILE_VS vs_2_0
#define PROFILE_PS ps_2_0
#define CONCAT(a, b) a##b

float4x4 WorldViewProj;
float4 CONCAT(Base, Color) = {0.2, 0.4, 0.6, 1.0};

#if QUALITY > 1 && defined(SCALE)
float4 PS() : COLOR { return float4(SCALE(BaseColor.rgb), 1); }
#elif QUALITY == 1
float4 PS() : COLOR { return BaseColor; }
#else
#error no quality
#endif

#ifndef QUALITY
this line is never compiled
#endif

float4 VS(float4 p : POSITION) : POSITION
{
    return mul(p, WorldViewProj);
}

technique Macro
{
    pass P0
    {
        VertexShader = compile PROFILE_VS VS();
        PixelShader = compile PROFILE_PS PS();
    }
}
