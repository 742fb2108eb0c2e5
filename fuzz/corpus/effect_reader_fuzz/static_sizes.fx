// Array sizes given by static constants, and arithmetic on them.
static const int MAX_MATRICES = 26;
static const int TINTS = MAX_MATRICES / 8;      // 3
static const float SCALE = 0.5;

float4x3 Palette[MAX_MATRICES];
float4 Tints[TINTS] = { {1, 0, 0, 1}, {0, 1, 0, 1}, {0.25, 0.5, 0.75, 1} };
int Bone = MAX_MATRICES - 1;

struct V
{
    float4 Pos : POSITION;
    float2 UV : TEXCOORD0;
};

V VS(float4 pos : POSITION, float2 uv : TEXCOORD0)
{
    V o;
    // Palette matrices start at zero; the position passes through when no one sets them.
    o.Pos = float4(pos.xyz + mul(pos, Palette[Bone]) * SCALE, 1);
    o.UV = uv;
    return o;
}

float4 PS(float2 uv : TEXCOORD0) : COLOR
{
    float4 sum = 0;
    float pick[TINTS] = (float[TINTS])float3(0, 0.5, 1);   // a vector cast to an array
    for (int i = 0; i < TINTS; i++)
        sum += Tints[i] * (pick[i] == 1);
    return sum;
}

technique LastTint
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
