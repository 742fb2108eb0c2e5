#include "common.fxh"
#if COMMON
float4 PS() : COLOR { return 1; }
#endif
technique { pass { PixelShader = compile ps_2_0 PS(); } }
