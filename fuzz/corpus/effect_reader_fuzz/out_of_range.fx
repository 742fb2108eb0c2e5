// Numbers out of the range of a state value or an int: saturated, then cut to 32 bits.
int Wide = 1e30;
int Hex = 0x1ffffffff;
technique T { pass { StencilRef = 1e30; AlphaRef = -1e300; StencilMask = 0xffffffffff; } }
