// A base pass and a glow pass added on top.
float4x4 WorldViewProj;
float4 BaseColor = {0.2, 0.2, 0.2, 1};
float4 GlowColor = {0.5, 0.1, 0.0, 0.5};

float4 VS(float4 p : POSITION) : POSITION { return mul(p, WorldViewProj); }
float4 PS_Base() : COLOR { return BaseColor; }
float4 PS_Glow() : COLOR { return GlowColor; }

technique BaseAndGlow
{
    pass Base
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS_Base();
        AlphaBlendEnable = FALSE;
        ZWriteEnable = TRUE;
    }
    pass Glow
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS_Glow();
        AlphaBlendEnable = TRUE;
        SrcBlend = SrcAlpha;
        DestBlend = One;
        BlendOp = Add;
        ZWriteEnable = FALSE;
        ZFunc = LessEqual;
        CullMode = None;
    }
}
