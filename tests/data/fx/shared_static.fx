// shared and static parameters, static const tables, column-major matrices.
shared float4x4 ViewProj : VIEWPROJECTION;
float4x4 World : WORLD;
column_major float4x4 Extra;
static const float3 Luma = float3(0.299, 0.587, 0.114);
static float Gain = 1.5;
static const float Steps[3] = {0.2, 0.5, 1.0};

struct VS_OUT
{
    float4 Pos : POSITION;
    float4 Color : COLOR0;
};

VS_OUT VS(float4 p : POSITION, float4 c : COLOR0)
{
    VS_OUT o;
    o.Pos = mul(mul(mul(p, World), ViewProj), Extra);
    o.Color = c;
    return o;
}

float4 PS(float4 c : COLOR0) : COLOR
{
    float y = dot(c.rgb, Luma) * Gain;
    return float4(y * Steps[1], y, y, c.a);
}

technique Gray
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
