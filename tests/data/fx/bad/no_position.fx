float4 VS(float4 p : POSITION) : TEXCOORD0 { return p; }
float4 PS() : COLOR { return 1; }
technique T { pass P0 { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }
