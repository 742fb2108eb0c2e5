#include "no_such_file.fxh"
float4 PS() : COLOR { return 1; }
technique T { pass P0 { PixelShader = compile ps_2_0 PS(); } }
