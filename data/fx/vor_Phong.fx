// Per-pixel lighting for scene objects: one light per draw, each adding its own ambient share.
//   vor_Phong        the first light: ambient + diffuse + specular, opaque
//   vor_Phong_alpha  every further light: its ambient + diffuse + specular added onto what is drawn
// The surface colour is the texture on stage 0 times the material's diffuse colour; a subset
// without a texture is drawn with a white one, so its material colour shows.

float4x4 mat_World_View_Proj : WORLDVIEWPROJECTION;
float4x4 matWorld : WORLD;
float4 View_Pos : VIEWPOSITION = {0, 0, 0, 1};

float4 MaterialDiffuse = {1, 1, 1, 1};

float4 LightPos = {0, 0, 0, 1};
float4 LightColor = {1, 1, 1, 1};
float LightFalloff = 1000.0;        // distance at which the light is gone
float LightSpecular = 8.5;          // specular exponent
float LightSpecular_Itens = 0.19;   // specular strength
float LightAmbient = 0.005;         // light that reaches every side
float Attenuation = 0.8;            // shape of the fall-off: 1 linear, < 1 softer, > 1 sharper

sampler2D ObjectTexture : register(s0) = sampler_state
{
    MinFilter = Linear;
    MagFilter = Linear;
    MipFilter = Linear;
    AddressU = Wrap;
    AddressV = Wrap;
};

struct VS_INPUT
{
    float3 Position : POSITION;
    float3 Normal : NORMAL;
    float2 Tex : TEXCOORD0;
};

struct VS_OUTPUT
{
    float4 Position : POSITION;
    float2 Tex : TEXCOORD0;
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
    Out.Tex = In.Tex;
    return Out;
}

float3 light_share(VS_OUTPUT In, float4 base)
{
    float3 toLight = LightPos.xyz - In.WorldPos;
    float dist = length(toLight);
    float3 L = toLight / max(dist, 1e-4);
    float3 V = normalize(View_Pos.xyz - In.WorldPos);
    float3 N = In.Normal;
    float len = length(N);
    N = len > 1e-6 ? N / len : V;   // a mesh without normals faces the viewer

    float reach = saturate(1.0 - dist / max(LightFalloff, 1e-4));
    float fade = pow(reach, max(Attenuation, 1e-3));

    float diffuse = saturate(dot(N, L));
    float3 H = normalize(L + V);
    float specular = diffuse > 0.0 ? pow(saturate(dot(N, H)), max(LightSpecular, 1.0)) * LightSpecular_Itens : 0.0;

    return base.rgb * (LightColor.rgb * diffuse * fade + LightAmbient) + LightColor.rgb * specular * fade;
}

float4 ps_first(VS_OUTPUT In) : COLOR0
{
    float4 base = tex2D(ObjectTexture, In.Tex) * MaterialDiffuse;
    return float4(light_share(In, base), base.a);
}

float4 ps_further(VS_OUTPUT In) : COLOR0
{
    float4 base = tex2D(ObjectTexture, In.Tex) * MaterialDiffuse;
    return float4(light_share(In, base), 0.0);
}

technique vor_Phong
{
    pass P0
    {
        VertexShader = compile vs_2_0 vs_main();
        PixelShader = compile ps_2_0 ps_first();
        AlphaBlendEnable = false;
        ZEnable = true;
        ZWriteEnable = true;
        ZFunc = LessEqual;
    }
}

technique vor_Phong_alpha
{
    pass P0
    {
        VertexShader = compile vs_2_0 vs_main();
        PixelShader = compile ps_2_0 ps_further();
        AlphaBlendEnable = true;
        SrcBlend = One;
        DestBlend = One;
        BlendOp = Add;
        ZEnable = true;
        ZWriteEnable = false;
        ZFunc = LessEqual;
    }
}
