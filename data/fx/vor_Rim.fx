// A rim of each light's colour along an object's silhouette, added onto what is already drawn.
// Meant as a further effect of an object that is drawn through vor_Phong.fx first: both
// techniques add, so the rim follows every light in turn.

float4x4 mat_World_View_Proj : WORLDVIEWPROJECTION;
float4x4 matWorld : WORLD;
float4 View_Pos : VIEWPOSITION = {0, 0, 0, 1};

float4 LightPos = {0, 0, 0, 1};
float4 LightColor = {1, 1, 1, 1};
float LightFalloff = 1000.0;
float Attenuation = 0.8;
// Set for every light like the others; the rim does not use them.
float LightSpecular = 8.5;
float LightSpecular_Itens = 0.19;
float LightAmbient = 0.005;

struct VS_INPUT
{
    float3 Position : POSITION;
    float3 Normal : NORMAL;
};

struct VS_OUTPUT
{
    float4 Position : POSITION;
    float3 WorldPos : TEXCOORD1;
    float3 Normal : TEXCOORD2;
};

VS_OUTPUT vs_main(VS_INPUT In)
{
    VS_OUTPUT Out;
    float4 p = float4(In.Position, 1.0);
    Out.Position = mul(p, mat_World_View_Proj);
    Out.WorldPos = mul(p, matWorld).xyz;
    Out.Normal = mul(In.Normal, (float3x3)matWorld);
    return Out;
}

float4 ps_rim(VS_OUTPUT In) : COLOR0
{
    float3 V = normalize(View_Pos.xyz - In.WorldPos);
    float3 N = In.Normal;
    float len = length(N);
    N = len > 1e-6 ? N / len : V;

    float3 toLight = LightPos.xyz - In.WorldPos;
    float dist = length(toLight);
    float reach = saturate(1.0 - dist / max(LightFalloff, 1e-4));
    float fade = pow(reach, max(Attenuation, 1e-3));
    float towards = saturate(dot(N, toLight / max(dist, 1e-4)) + 0.6);

    float rim = pow(1.0 - saturate(dot(N, V)), 3.0);
    return float4(LightColor.rgb * rim * towards * fade * 0.9, 0.0);
}

technique vor_Phong
{
    pass P0
    {
        VertexShader = compile vs_2_0 vs_main();
        PixelShader = compile ps_2_0 ps_rim();
        AlphaBlendEnable = true;
        SrcBlend = One;
        DestBlend = One;
        BlendOp = Add;
        ZEnable = true;
        ZWriteEnable = false;
        ZFunc = LessEqual;
    }
}

technique vor_Phong_alpha
{
    pass P0
    {
        VertexShader = compile vs_2_0 vs_main();
        PixelShader = compile ps_2_0 ps_rim();
        AlphaBlendEnable = true;
        SrcBlend = One;
        DestBlend = One;
        BlendOp = Add;
        ZEnable = true;
        ZWriteEnable = false;
        ZFunc = LessEqual;
    }
}
