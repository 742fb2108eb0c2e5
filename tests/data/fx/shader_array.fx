// A vertex shader chosen from an array by an int parameter when the pass begins.
int CurNumBones = 0;

struct V
{
    float4 Pos : POSITION;
    float4 Color : COLOR0;
};

V Skin(float4 pos : POSITION, uniform int NumBones)
{
    V o;
    o.Pos = pos;
    o.Color = float4(NumBones == 1 || NumBones == 4, NumBones == 2 || NumBones == 4, NumBones == 3 || NumBones == 4, 1);
    return o;
}

float4 PS(float4 c : COLOR0) : COLOR { return c; }

VertexShader vsArray[4] = { compile vs_2_0 Skin(1),
                            compile vs_2_0 Skin(2),
                            compile vs_2_0 Skin(3),
                            compile vs_2_0 Skin(4) };

technique Chosen
{
    pass P0
    {
        VertexShader = (vsArray[CurNumBones]);
        PixelShader = compile ps_2_0 PS();
    }
}

technique Fixed
{
    pass P0
    {
        VertexShader = vsArray[2];
        PixelShader = compile ps_2_0 PS();
    }
}
