// Environment reflection from a cube map.
float4x4 WorldViewProj;
float4x4 World;
float3 EyePos;
textureCUBE Environment;

samplerCUBE EnvSampler = sampler_state
{
    Texture = <Environment>;
    MinFilter = Linear;
    MagFilter = Linear;
    MipFilter = Linear;
    AddressU = Clamp;
    AddressV = Clamp;
    AddressW = Clamp;
};

struct VS_OUT
{
    float4 Pos : POSITION;
    float3 Reflect : TEXCOORD0;
};

VS_OUT VS(float4 pos : POSITION, float3 normal : NORMAL)
{
    VS_OUT o;
    o.Pos = mul(pos, WorldViewProj);
    float3 wp = mul(pos, World).xyz;
    float3 n = normalize(mul(normal, (float3x3)World));
    o.Reflect = reflect(normalize(wp - EyePos), n);
    return o;
}

float4 PS(float3 r : TEXCOORD0) : COLOR
{
    return texCUBE(EnvSampler, r);
}

technique Reflective
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
