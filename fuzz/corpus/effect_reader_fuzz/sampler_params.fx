// Sampler states whose values name parameters, read when a pass begins.
int Filter = 1;            // D3DTEXF_POINT
float Bias = 0.5;
texture Picture;

sampler2D Image = sampler_state
{
    Texture = <Picture>;
    MinFilter = <Filter>;
    MagFilter = <Filter>;
    MipFilter = None;
    MipMapLodBias = <Bias>;
    AddressU = Clamp;
};

float4 PS(float2 uv : TEXCOORD0) : COLOR
{
    return tex2D(Image, uv);
}

technique Filtered
{
    pass P0
    {
        PixelShader = compile ps_2_0 PS();
    }
}
