// Assignments through a vector constructor: each destination takes its share of the components.
struct V
{
    float4 Pos : POSITION;
    float2 UV : TEXCOORD0;
};

V VS(float4 pos : POSITION, float2 uv : TEXCOORD0)
{
    V o;
    o.Pos = pos;
    o.UV = uv;
    return o;
}

float4 PS(float2 uv : TEXCOORD0) : COLOR
{
    float a, c;
    float2 b;
    float4(a, b, c) = float4(0.25, 0.5, 0.75, 1);
    float2 du, dv;
    float4(du, dv) = ddx(float4(uv, uv));
    half3 rgb;
    if (c > 0.5)
        float3(rgb.x, rgb.yz) = float3(a, b);
    return float4(rgb + abs(du.x - dv.x), c);
}

technique Split
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
