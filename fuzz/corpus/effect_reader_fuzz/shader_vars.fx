// Shaders compiled into variables and assigned to passes by name.
float4x4 WorldViewProj;
float4 Color = {0, 0, 1, 1};

float4 VS(float4 p : POSITION) : POSITION { return mul(p, WorldViewProj); }
float4 PS() : COLOR { return Color; }

VertexShader TransformShader = compile vs_2_0 VS();
PixelShader ColorShader = compile ps_2_0 PS();

technique FromVariables
{
    pass P0
    {
        VertexShader = (TransformShader);
        PixelShader = <ColorShader>;
    }
}
