// Annotations on parameters, techniques and passes, as tools write them.
string Description = "annotated effect";

float4x4 WorldViewProj : WorldViewProjection < string UIWidget = "None"; >;
float Shininess < string UIName = "Shininess"; float UIMin = 1.0; float UIMax = 128.0; int UISteps = 127; > = 32.0;
float3 Tint : DIFFUSE < string UIName = "Tint"; bool Hidden = false; float3 Default = {1, 1, 1}; > = {0.9, 0.8, 0.7};

float4 VS(float4 p : POSITION) : POSITION { return mul(p, WorldViewProj); }
float4 PS() : COLOR { return float4(Tint * (Shininess / 128.0), 1); }

technique Annotated < string Script = "Pass=P0;"; int Order = 1; >
{
    pass P0 < string Comment = "the only pass"; >
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
