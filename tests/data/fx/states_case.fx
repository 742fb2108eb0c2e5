// Render states by name in any letter case and with the SDK's prefixes.
float4x4 WorldViewProj;
float4 VS(float4 p : POSITION) : POSITION { return mul(p, WorldViewProj); }
float4 PS() : COLOR { return float4(1, 1, 1, 0.5); }

technique States
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
        ALPHABLENDENABLE = TRUE;
        srcblend = srcalpha;
        DestBlend = D3DBLEND_INVSRCALPHA;
        zenable = true;
        ZWriteEnable = false;
        ZFunc = D3DCMP_LESS;
        CullMode = CW;
        FillMode = Wireframe;
        AlphaTestEnable = True;
        AlphaRef = 0x80;
        AlphaFunc = GreaterEqual;
        ColorWriteEnable = RED | GREEN | BLUE;
        StencilEnable = true;
        StencilFunc = Always;
        StencilPass = Replace;
        StencilFail = Keep;
        StencilZFail = Keep;
        StencilRef = 1;
        StencilMask = 0xFF;
        StencilWriteMask = 0xff;
        DepthBias = -0.0005;
    }
}
