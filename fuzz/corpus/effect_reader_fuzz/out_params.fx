// Out parameters instead of structs, half precision, two render targets.
float4x4 WorldViewProj;
half4 Ambient = {0.1, 0.1, 0.1, 1};

void VS(in float4 pos : POSITION, in float3 normal : NORMAL,
        out float4 oPos : POSITION, out half3 oNormal : TEXCOORD0)
{
    oPos = mul(pos, WorldViewProj);
    oNormal = normal;
}

void PS(in half3 normal : TEXCOORD0, out float4 color0 : COLOR0, out float4 color1 : COLOR1)
{
    color0 = Ambient + float4(normalize(normal) * 0.5 + 0.5, 1);
    color1 = float4(normal, 1);
}

technique TwoTargets
{
    pass P0
    {
        VertexShader = compile vs_3_0 VS();
        PixelShader = compile ps_3_0 PS();
    }
}
