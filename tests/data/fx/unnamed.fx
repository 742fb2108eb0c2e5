// Techniques and passes without names.
float4x4 WorldViewProj;
float4 VS(float4 p : POSITION) : POSITION { return mul(p, WorldViewProj); }
float4 Red() : COLOR { return float4(1, 0, 0, 1); }
float4 Green() : COLOR { return float4(0, 1, 0, 1); }

technique
{
    pass
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 Red();
    }
    pass
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 Green();
    }
}

technique Named
{
    pass
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 Green();
    }
}
