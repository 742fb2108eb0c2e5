// Samplers with and without sampler_state, explicit registers, several textures.
float4x4 WorldViewProj;
texture2D BaseMap;
texture DetailMap;

sampler2D BaseSampler : register(s1) = sampler_state
{
    texture = <BaseMap>;
    minfilter = LINEAR;
    magfilter = LINEAR;
    ADDRESSU = WRAP;
    AddressV = Mirror;
};

sampler DetailSampler = sampler_state
{
    Texture = (DetailMap);
    MinFilter = Point;
    MagFilter = Point;
    MipFilter = None;
};

sampler2D PlainSampler;

struct VS_OUT
{
    float4 Pos : POSITION;
    float2 Uv : TEXCOORD0;
    float2 DetailUv : TEXCOORD1;
};

VS_OUT VS(float4 p : POSITION, float2 uv : TEXCOORD0)
{
    VS_OUT o;
    o.Pos = mul(p, WorldViewProj);
    o.Uv = uv;
    o.DetailUv = uv * 8;
    return o;
}

float4 PS(VS_OUT i) : COLOR
{
    return tex2D(BaseSampler, i.Uv) * tex2D(DetailSampler, i.DetailUv) * 2 + tex2D(PlainSampler, i.Uv) * 0.1;
}

technique Detail
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
        MinFilter[0] = Linear;
        Texture[2] = <DetailMap>;
    }
}
