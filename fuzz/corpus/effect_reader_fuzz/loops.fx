// Loops with a bound the compiler cannot see, and one that never ends on its own.
// The endless one still finishes: every invocation has a budget of rounds.
float4x4 WorldViewProj;
int Count = 4;
float4 Lights[8];

float4 VS(float4 p : POSITION) : POSITION { return mul(p, WorldViewProj); }

float4 PS_Sum() : COLOR
{
    float4 c = 0;
    for (int i = 0; i < Count; i++)
        c += Lights[i];
    return c;
}

float4 PS_Forever() : COLOR
{
    float4 c = 0;
    while (true)
    {
        c += 0.01;
        if (c.x > 1) c = 0;
    }
    return c;
}

technique Sum { pass { VertexShader = compile vs_3_0 VS(); PixelShader = compile ps_3_0 PS_Sum(); } }
technique Forever { pass { VertexShader = compile vs_3_0 VS(); PixelShader = compile ps_3_0 PS_Forever(); } }
