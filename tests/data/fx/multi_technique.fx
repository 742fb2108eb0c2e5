// The same lighting at three shader models.
float4x4 WorldViewProj;
float4x4 World;
float3 LightDir = {0, -1, 0};
float4 Diffuse = {0.8, 0.8, 0.8, 1};

struct VS_OUT
{
    float4 Pos : POSITION;
    float4 Color : COLOR0;
};

VS_OUT VS_Lit(float4 pos : POSITION, float3 normal : NORMAL)
{
    VS_OUT o;
    o.Pos = mul(pos, WorldViewProj);
    float3 n = normalize(mul(normal, (float3x3)World));
    o.Color = Diffuse * saturate(dot(n, -LightDir));
    return o;
}

float4 PS_Pass(float4 color : COLOR0) : COLOR0
{
    return color;
}

technique Low
{
    pass P0
    {
        VertexShader = compile vs_1_1 VS_Lit();
        PixelShader = compile ps_1_1 PS_Pass();
    }
}

technique Medium
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS_Lit();
        PixelShader = compile ps_2_0 PS_Pass();
    }
}

technique High
{
    pass P0
    {
        VertexShader = compile vs_3_0 VS_Lit();
        PixelShader = compile ps_3_0 PS_Pass();
    }
}
