// Varyings declared as arrays take consecutive registers of their semantic.
struct V
{
    float4 Pos : POSITION;
    float2 Jitter[3] : TEXCOORD1;   // TEXCOORD1, TEXCOORD2, TEXCOORD3
};

V VS(float4 pos : POSITION, float2 uv : TEXCOORD0)
{
    V o;
    o.Pos = pos;
    o.Jitter[0] = float2(0.25, 0);
    o.Jitter[1] = float2(0, 0.5);
    o.Jitter[2] = float2(0.75, uv.x * 0);
    return o;
}

float4 PS(in float2 JitterUV[3] : TEXCOORD1) : COLOR
{
    return float4(JitterUV[0].x, JitterUV[1].y, JitterUV[2].x, 1);
}

technique Jitter
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
