texture DiffuseMap;
sampler2D DiffuseSampler = sampler_state
{
    Texture = (DiffuseMap);
    MinFilter = LINEAR;
    MagFilter = LINEAR;
};
