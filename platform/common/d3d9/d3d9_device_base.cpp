#include "common/d3d9/d3d9_device_base.h"

#include "common/d3d9/d3d9_back_buffer.h"

#include <cstring>

namespace {

DWORD float_bits(float f)
{
    DWORD d;
    std::memcpy(&d, &f, 4);
    return d;
}

D3DMATRIX identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

bool valid_primitive(D3DPRIMITIVETYPE type) { return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN; }

}  // namespace

D3DMATRIX d3d9_multiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

D3D9_Device_Base::D3D9_Device_Base(IDirect3D9* d3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
                                   const D3DPRESENT_PARAMETERS& present)
    : d3d(d3d), creation(creation), present(present)
{
    d3d->AddRef();
    ResetState();
}

D3D9_Device_Base::~D3D9_Device_Base()
{
    ReleaseBindings();
    d3d->Release();
}

void D3D9_Device_Base::ReleaseBindings()
{
    destroying = true;
    for (DWORD i = 0; i < texture_slots; ++i)
        SetTextureSlot(i, nullptr);
    for (UINT i = 0; i < streams; ++i)
        SetStreamSlot(i, nullptr, 0, 0);
    SetIndexSlot(nullptr);
}

void D3D9_Device_Base::ResetState()
{
    struct Default {
        D3DRENDERSTATETYPE state;
        DWORD value;
    };
    const Default defaults[] = {
        {D3DRS_ZENABLE, present.EnableAutoDepthStencil ? DWORD(D3DZB_TRUE) : DWORD(D3DZB_FALSE)},
        {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
        {D3DRS_ZWRITEENABLE, TRUE},
        {D3DRS_ALPHATESTENABLE, FALSE},
        {D3DRS_LASTPIXEL, TRUE},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_ALPHAREF, 0},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRS_DITHERENABLE, FALSE},
        {D3DRS_ALPHABLENDENABLE, FALSE},
        {D3DRS_FOGENABLE, FALSE},
        {D3DRS_SPECULARENABLE, FALSE},
        {D3DRS_FOGCOLOR, 0},
        {D3DRS_FOGTABLEMODE, D3DFOG_NONE},
        {D3DRS_FOGSTART, float_bits(0.0f)},
        {D3DRS_FOGEND, float_bits(1.0f)},
        {D3DRS_FOGDENSITY, float_bits(1.0f)},
        {D3DRS_RANGEFOGENABLE, FALSE},
        {D3DRS_STENCILENABLE, FALSE},
        {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
        {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
        {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
        {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
        {D3DRS_STENCILREF, 0},
        {D3DRS_STENCILMASK, 0xFFFFFFFF},
        {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
        {D3DRS_WRAP0, 0}, {D3DRS_WRAP1, 0}, {D3DRS_WRAP2, 0}, {D3DRS_WRAP3, 0},
        {D3DRS_WRAP4, 0}, {D3DRS_WRAP5, 0}, {D3DRS_WRAP6, 0}, {D3DRS_WRAP7, 0},
        {D3DRS_CLIPPING, TRUE},
        {D3DRS_LIGHTING, TRUE},
        {D3DRS_AMBIENT, 0},
        {D3DRS_FOGVERTEXMODE, D3DFOG_NONE},
        {D3DRS_COLORVERTEX, TRUE},
        {D3DRS_LOCALVIEWER, TRUE},
        {D3DRS_NORMALIZENORMALS, FALSE},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRS_VERTEXBLEND, D3DVBF_DISABLE},
        {D3DRS_CLIPPLANEENABLE, 0},
        {D3DRS_POINTSIZE, float_bits(1.0f)},
        {D3DRS_POINTSIZE_MIN, float_bits(1.0f)},
        {D3DRS_POINTSPRITEENABLE, FALSE},
        {D3DRS_POINTSCALEENABLE, FALSE},
        {D3DRS_POINTSCALE_A, float_bits(1.0f)},
        {D3DRS_POINTSCALE_B, float_bits(0.0f)},
        {D3DRS_POINTSCALE_C, float_bits(0.0f)},
        {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
        {D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF},
        {D3DRS_PATCHEDGESTYLE, 0},
        {D3DRS_DEBUGMONITORTOKEN, 0},
        {D3DRS_POINTSIZE_MAX, float_bits(64.0f)},
        {D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE},
        {D3DRS_COLORWRITEENABLE, 0xF},
        {D3DRS_TWEENFACTOR, float_bits(0.0f)},
        {D3DRS_BLENDOP, D3DBLENDOP_ADD},
        {D3DRS_POSITIONDEGREE, 3},
        {D3DRS_NORMALDEGREE, 1},
        {D3DRS_SCISSORTESTENABLE, FALSE},
        {D3DRS_SLOPESCALEDEPTHBIAS, 0},
        {D3DRS_ANTIALIASEDLINEENABLE, FALSE},
        {D3DRS_MINTESSELLATIONLEVEL, float_bits(1.0f)},
        {D3DRS_MAXTESSELLATIONLEVEL, float_bits(1.0f)},
        {D3DRS_ADAPTIVETESS_X, float_bits(0.0f)},
        {D3DRS_ADAPTIVETESS_Y, float_bits(0.0f)},
        {D3DRS_ADAPTIVETESS_Z, float_bits(1.0f)},
        {D3DRS_ADAPTIVETESS_W, float_bits(0.0f)},
        {D3DRS_ENABLEADAPTIVETESSELLATION, FALSE},
        {D3DRS_TWOSIDEDSTENCILMODE, FALSE},
        {D3DRS_CCW_STENCILFAIL, D3DSTENCILOP_KEEP},
        {D3DRS_CCW_STENCILZFAIL, D3DSTENCILOP_KEEP},
        {D3DRS_CCW_STENCILPASS, D3DSTENCILOP_KEEP},
        {D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS},
        {D3DRS_COLORWRITEENABLE1, 0xF},
        {D3DRS_COLORWRITEENABLE2, 0xF},
        {D3DRS_COLORWRITEENABLE3, 0xF},
        {D3DRS_BLENDFACTOR, 0xFFFFFFFF},
        {D3DRS_SRGBWRITEENABLE, 0},
        {D3DRS_DEPTHBIAS, 0},
        {D3DRS_WRAP8, 0}, {D3DRS_WRAP9, 0}, {D3DRS_WRAP10, 0}, {D3DRS_WRAP11, 0},
        {D3DRS_WRAP12, 0}, {D3DRS_WRAP13, 0}, {D3DRS_WRAP14, 0}, {D3DRS_WRAP15, 0},
        {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
        {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE},
        {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO},
        {D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD},
    };
    std::memset(render_states, 0, sizeof render_states);
    std::memset(known_states, 0, sizeof known_states);
    for (const Default& d : defaults) {
        render_states[d.state] = d.value;
        known_states[d.state] = true;
    }

    std::memset(stage_states, 0, sizeof stage_states);
    for (DWORD stage = 0; stage < texture_stages; ++stage) {
        DWORD* s = stage_states[stage];
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = stage;
        s[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    }
    std::memset(sampler_states, 0, sizeof sampler_states);
    for (DWORD sampler = 0; sampler < samplers; ++sampler) {
        DWORD* s = sampler_states[sampler];
        s[D3DSAMP_ADDRESSU] = s[D3DSAMP_ADDRESSV] = s[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        s[D3DSAMP_MAGFILTER] = s[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        s[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        s[D3DSAMP_MAXANISOTROPY] = 1;
    }
    for (D3DMATRIX& m : transforms)
        m = identity();
    material = D3DMATERIAL9{};
    lights.clear();
    for (DWORD i = 0; i < texture_slots; ++i)
        SetTextureSlot(i, nullptr);
    for (UINT i = 0; i < streams; ++i)
        SetStreamSlot(i, nullptr, 0, 0);
    SetIndexSlot(nullptr);
    fvf = 0;
    viewport = D3DVIEWPORT9{0, 0, present.BackBufferWidth, present.BackBufferHeight, 0.0f, 1.0f};
    scissor = RECT{0, 0, LONG(present.BackBufferWidth), LONG(present.BackBufferHeight)};
    in_scene = false;
    ++state_serial;
    ++transform_serial;
    ++render_serial;
}

// ---- IUnknown ----

HRESULT D3D9_Device_Base::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IDirect3DDevice9 && !d3d9_is_iunknown(riid))
        return E_NOINTERFACE;
    *ppvObject = static_cast<IDirect3DDevice9*>(this);
    AddRef();
    return S_OK;
}

ULONG D3D9_Device_Base::AddRef() { return ++refs; }

ULONG D3D9_Device_Base::Release()
{
    if (refs == 0 || destroying)
        return 0;
    const ULONG left = --refs;
    if (left == 0)
        delete this;
    return left;
}

// ---- The registry of live resources ----

void D3D9_Device_Base::Remember(const void* iface, D3D9_Resource_Link* link) { resources[iface] = link; }

void D3D9_Device_Base::Forget(const void* iface) { resources.erase(iface); }

D3D9_Resource_Link* D3D9_Device_Base::Find(const void* iface) const
{
    auto found = resources.find(iface);
    return found == resources.end() ? nullptr : found->second;
}

// ---- Device information ----

HRESULT D3D9_Device_Base::TestCooperativeLevel() { return D3D_OK; }

UINT D3D9_Device_Base::GetAvailableTextureMem() { return 512u << 20; }

HRESULT D3D9_Device_Base::GetDirect3D(IDirect3D9** ppD3D9)
{
    if (!ppD3D9)
        return D3DERR_INVALIDCALL;
    *ppD3D9 = d3d;
    d3d->AddRef();
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetDeviceCaps(D3DCAPS9* pCaps)
{
    if (!pCaps)
        return D3DERR_INVALIDCALL;
    return d3d->GetDeviceCaps(creation.AdapterOrdinal, creation.DeviceType, pCaps);
}

void D3D9_Device_Base::FillCaps(D3DCAPS9*) {}

HRESULT D3D9_Device_Base::GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode)
{
    if (!pMode || iSwapChain != 0)
        return D3DERR_INVALIDCALL;
    return d3d->GetAdapterDisplayMode(creation.AdapterOrdinal, pMode);
}

HRESULT D3D9_Device_Base::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters)
{
    if (!pParameters)
        return D3DERR_INVALIDCALL;
    *pParameters = creation;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters)
{
    if (!pPresentationParameters || in_scene)
        return D3DERR_INVALIDCALL;
    D3DPRESENT_PARAMETERS next = *pPresentationParameters;
    if (next.BackBufferWidth == 0)
        next.BackBufferWidth = present.BackBufferWidth;
    if (next.BackBufferHeight == 0)
        next.BackBufferHeight = present.BackBufferHeight;
    if (next.BackBufferFormat == D3DFMT_UNKNOWN)
        next.BackBufferFormat = present.BackBufferFormat;
    if (next.BackBufferCount == 0)
        next.BackBufferCount = 1;
    const HRESULT hr = DoReset(next);
    if (FAILED(hr))
        return hr;
    present = next;
    *pPresentationParameters = next;
    ResetState();
    return D3D_OK;
}

// ---- Frames ----

HRESULT D3D9_Device_Base::BeginScene()
{
    if (in_scene)
        return D3DERR_INVALIDCALL;
    in_scene = true;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::EndScene()
{
    if (!in_scene)
        return D3DERR_INVALIDCALL;
    in_scene = false;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::Clear(DWORD Count, CONST D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                                DWORD Stencil)
{
    const DWORD all = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if ((Count > 0 && !pRects) || Flags == 0 || (Flags & ~all))
        return D3DERR_INVALIDCALL;
    if ((Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !present.EnableAutoDepthStencil)
        return D3DERR_INVALIDCALL;
    if ((Flags & D3DCLEAR_ZBUFFER) && !(Z >= 0.0f && Z <= 1.0f))
        return D3DERR_INVALIDCALL;
    DoClear(pRects ? Count : 0, pRects, Flags, Color, Z, Stencil);
    return D3D_OK;
}

HRESULT D3D9_Device_Base::Present(CONST RECT*, CONST RECT*, HWND, CONST RGNDATA*) { return DoPresent(); }

// ---- Resources ----

D3D9_Texture* D3D9_Device_Base::NewTexture(DWORD usage, D3DFORMAT format, D3DPOOL pool)
{
    return new D3D9_Texture(this, this, usage, format, pool);
}

D3D9_Vertex_Buffer* D3D9_Device_Base::NewVertexBuffer(DWORD usage, DWORD fvf_, D3DPOOL pool)
{
    return new D3D9_Vertex_Buffer(this, this, usage, fvf_, pool);
}

D3D9_Index_Buffer* D3D9_Device_Base::NewIndexBuffer(DWORD usage, D3DFORMAT format, D3DPOOL pool)
{
    return new D3D9_Index_Buffer(this, this, usage, format, pool);
}

HRESULT D3D9_Device_Base::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                        D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle)
{
    if (!ppTexture)
        return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    if (pSharedHandle || Pool > D3DPOOL_SCRATCH || (Usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)))
        return D3DERR_INVALIDCALL;
    if (!D3D9_Texture::FormatSupported(Format))
        return D3DERR_INVALIDCALL;
    D3D9_Texture* texture = NewTexture(Usage, Format, Pool);
    if (!texture)
        return D3DERR_OUTOFVIDEOMEMORY;
    const HRESULT hr = texture->Allocate(Width, Height, Levels);
    if (FAILED(hr)) {
        texture->Release();
        return hr;
    }
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                             IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle)
{
    if (!ppVertexBuffer)
        return D3DERR_INVALIDCALL;
    *ppVertexBuffer = nullptr;
    if (Length == 0 || pSharedHandle || Pool > D3DPOOL_SCRATCH)
        return D3DERR_INVALIDCALL;
    if (FVF != 0) {
        D3D9_Vertex_Layout layout;
        if (!layout.Decode(FVF) || Length < layout.size)
            return D3DERR_INVALIDCALL;
    }
    D3D9_Vertex_Buffer* buffer = NewVertexBuffer(Usage, FVF, Pool);
    if (!buffer)
        return D3DERR_OUTOFVIDEOMEMORY;
    if (!buffer->data.Allocate(Length)) {
        buffer->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *ppVertexBuffer = buffer;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle)
{
    if (!ppIndexBuffer)
        return D3DERR_INVALIDCALL;
    *ppIndexBuffer = nullptr;
    if (Length == 0 || pSharedHandle || Pool > D3DPOOL_SCRATCH ||
        (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    D3D9_Index_Buffer* buffer = NewIndexBuffer(Usage, Format, Pool);
    if (!buffer)
        return D3DERR_OUTOFVIDEOMEMORY;
    if (!buffer->data.Allocate(Length)) {
        buffer->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *ppIndexBuffer = buffer;
    return D3D_OK;
}

// ---- Transforms, viewport, material, lights ----

int D3D9_Device_Base::TransformSlot(D3DTRANSFORMSTATETYPE state)
{
    const DWORD s = DWORD(state);
    if (s == D3DTS_VIEW)
        return 0;
    if (s == D3DTS_PROJECTION)
        return 1;
    if (s >= D3DTS_TEXTURE0 && s <= D3DTS_TEXTURE7)
        return int(2 + s - D3DTS_TEXTURE0);
    if (s >= 256 && s <= 511)
        return int(10 + s - 256);
    return -1;
}

HRESULT D3D9_Device_Base::SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix)
{
    const int slot = TransformSlot(State);
    if (!pMatrix || slot < 0)
        return D3DERR_INVALIDCALL;
    transforms[slot] = *pMatrix;
    ++transform_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix)
{
    const int slot = TransformSlot(State);
    if (!pMatrix || slot < 0)
        return D3DERR_INVALIDCALL;
    *pMatrix = transforms[slot];
    return D3D_OK;
}

HRESULT D3D9_Device_Base::MultiplyTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix)
{
    const int slot = TransformSlot(State);
    if (!pMatrix || slot < 0)
        return D3DERR_INVALIDCALL;
    // The new matrix is pMatrix x the current one.
    transforms[slot] = d3d9_multiply(*pMatrix, transforms[slot]);
    ++transform_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetViewport(CONST D3DVIEWPORT9* pViewport)
{
    if (!pViewport)
        return D3DERR_INVALIDCALL;
    const D3DVIEWPORT9& v = *pViewport;
    if (v.Width == 0 || v.Height == 0 || v.X > present.BackBufferWidth || v.Y > present.BackBufferHeight ||
        v.Width > present.BackBufferWidth - v.X || v.Height > present.BackBufferHeight - v.Y)
        return D3DERR_INVALIDCALL;
    if (!(v.MinZ >= 0.0f && v.MinZ <= 1.0f && v.MaxZ >= 0.0f && v.MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    viewport = v;
    ++state_serial;
    ++render_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetViewport(D3DVIEWPORT9* pViewport)
{
    if (!pViewport)
        return D3DERR_INVALIDCALL;
    *pViewport = viewport;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetMaterial(CONST D3DMATERIAL9* pMaterial)
{
    if (!pMaterial)
        return D3DERR_INVALIDCALL;
    material = *pMaterial;
    ++state_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetMaterial(D3DMATERIAL9* pMaterial)
{
    if (!pMaterial)
        return D3DERR_INVALIDCALL;
    *pMaterial = material;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetLight(DWORD Index, CONST D3DLIGHT9* pLight)
{
    if (!pLight || pLight->Type < D3DLIGHT_POINT || pLight->Type > D3DLIGHT_DIRECTIONAL)
        return D3DERR_INVALIDCALL;
    lights[Index].light = *pLight;
    ++state_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetLight(DWORD Index, D3DLIGHT9* pLight)
{
    auto found = lights.find(Index);
    if (!pLight || found == lights.end())
        return D3DERR_INVALIDCALL;
    *pLight = found->second.light;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::LightEnable(DWORD Index, BOOL Enable)
{
    auto found = lights.find(Index);
    if (found == lights.end()) {
        // A light enabled before it was set is a white directional light shining along +z.
        Light light;
        light.light.Type = D3DLIGHT_DIRECTIONAL;
        light.light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
        light.light.Direction = D3DVECTOR{0.0f, 0.0f, 1.0f};
        found = lights.emplace(Index, light).first;
    }
    found->second.enabled = Enable != FALSE;
    ++state_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetLightEnable(DWORD Index, BOOL* pEnable)
{
    auto found = lights.find(Index);
    if (!pEnable || found == lights.end())
        return D3DERR_INVALIDCALL;
    *pEnable = found->second.enabled ? 128 : FALSE;
    return D3D_OK;
}

// ---- States ----

bool D3D9_Device_Base::KnownRenderState(D3DRENDERSTATETYPE state) const
{
    return DWORD(state) < 256 && known_states[state];
}

HRESULT D3D9_Device_Base::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value)
{
    if (!KnownRenderState(State))
        return D3DERR_INVALIDCALL;
    render_states[State] = Value;
    ++state_serial;
    ++render_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue)
{
    if (!pValue || !KnownRenderState(State))
        return D3DERR_INVALIDCALL;
    *pValue = render_states[State];
    return D3D_OK;
}

namespace {

bool KnownStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD stages)
{
    return stage < stages && type >= D3DTSS_COLOROP && type <= D3DTSS_CONSTANT;
}

bool KnownSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD samplers)
{
    return sampler < samplers && type >= D3DSAMP_ADDRESSU && type <= D3DSAMP_DMAPOFFSET;
}

}  // namespace

HRESULT D3D9_Device_Base::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue)
{
    if (!pValue || !KnownStageState(Stage, Type, texture_stages))
        return D3DERR_INVALIDCALL;
    *pValue = stage_states[Stage][Type];
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value)
{
    if (!KnownStageState(Stage, Type, texture_stages))
        return D3DERR_INVALIDCALL;
    stage_states[Stage][Type] = Value;
    ++state_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue)
{
    if (!pValue || !KnownSamplerState(Sampler, Type, samplers))
        return D3DERR_INVALIDCALL;
    *pValue = sampler_states[Sampler][Type];
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value)
{
    if (!KnownSamplerState(Sampler, Type, samplers))
        return D3DERR_INVALIDCALL;
    sampler_states[Sampler][Type] = Value;
    ++state_serial;
    ++render_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetScissorRect(CONST RECT* pRect)
{
    if (!pRect || pRect->left > pRect->right || pRect->top > pRect->bottom)
        return D3DERR_INVALIDCALL;
    scissor = *pRect;
    ++state_serial;
    ++render_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetScissorRect(RECT* pRect)
{
    if (!pRect)
        return D3DERR_INVALIDCALL;
    *pRect = scissor;
    return D3D_OK;
}

// ---- Bindings ----

namespace {

// The new resource is bound before the old one lets go, so rebinding the same one never drops
// it to unbound on the way.
template <typename Resource>
void Rebind(Resource*& slot, Resource* next)
{
    if (next)
        next->Bind();
    Resource* old = slot;
    slot = next;
    if (old)
        old->Unbind();
}

}  // namespace

void D3D9_Device_Base::SetTextureSlot(DWORD stage, D3D9_Texture* texture)
{
    if (textures[stage] == texture)
        return;
    Rebind(textures[stage], texture);
    ++state_serial;
}

void D3D9_Device_Base::SetStreamSlot(UINT stream, D3D9_Vertex_Buffer* buffer, UINT offset, UINT stride)
{
    Stream& s = stream_sources[stream];
    s.offset = offset;
    s.stride = stride;
    Rebind(s.buffer, buffer);
}

void D3D9_Device_Base::SetIndexSlot(D3D9_Index_Buffer* buffer) { Rebind(indices, buffer); }

HRESULT D3D9_Device_Base::GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture)
{
    if (!ppTexture || Stage >= texture_slots)
        return D3DERR_INVALIDCALL;
    *ppTexture = textures[Stage];
    if (textures[Stage])
        textures[Stage]->AddRef();
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture)
{
    if (Stage >= texture_slots)
        return D3DERR_INVALIDCALL;
    D3D9_Texture* texture = nullptr;
    if (pTexture) {
        D3D9_Resource_Link* link = Find(pTexture);
        if (!link || link->Released() || link->Kind() != D3DRTYPE_TEXTURE)
            return D3DERR_INVALIDCALL;
        texture = static_cast<D3D9_Texture*>(pTexture);
    }
    SetTextureSlot(Stage, texture);
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetFVF(DWORD FVF)
{
    if (FVF != 0) {
        D3D9_Vertex_Layout layout;
        if (!layout.Decode(FVF))
            return D3DERR_INVALIDCALL;
    }
    fvf = FVF;
    ++state_serial;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetFVF(DWORD* pFVF)
{
    if (!pFVF)
        return D3DERR_INVALIDCALL;
    *pFVF = fvf;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                          UINT OffsetInBytes, UINT Stride)
{
    if (StreamNumber >= streams)
        return D3DERR_INVALIDCALL;
    D3D9_Vertex_Buffer* buffer = nullptr;
    if (pStreamData) {
        D3D9_Resource_Link* link = Find(pStreamData);
        if (!link || link->Released() || link->Kind() != D3DRTYPE_VERTEXBUFFER)
            return D3DERR_INVALIDCALL;
        buffer = static_cast<D3D9_Vertex_Buffer*>(pStreamData);
        if (OffsetInBytes > buffer->data.Length())
            return D3DERR_INVALIDCALL;
    }
    SetStreamSlot(StreamNumber, buffer, OffsetInBytes, Stride);
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData,
                                          UINT* pOffsetInBytes, UINT* pStride)
{
    if (StreamNumber >= streams || !ppStreamData || !pOffsetInBytes || !pStride)
        return D3DERR_INVALIDCALL;
    const Stream& s = stream_sources[StreamNumber];
    *ppStreamData = s.buffer;
    if (s.buffer)
        s.buffer->AddRef();
    *pOffsetInBytes = s.offset;
    *pStride = s.stride;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::SetIndices(IDirect3DIndexBuffer9* pIndexData)
{
    D3D9_Index_Buffer* buffer = nullptr;
    if (pIndexData) {
        D3D9_Resource_Link* link = Find(pIndexData);
        if (!link || link->Released() || link->Kind() != D3DRTYPE_INDEXBUFFER)
            return D3DERR_INVALIDCALL;
        buffer = static_cast<D3D9_Index_Buffer*>(pIndexData);
    }
    SetIndexSlot(buffer);
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetIndices(IDirect3DIndexBuffer9** ppIndexData)
{
    if (!ppIndexData)
        return D3DERR_INVALIDCALL;
    *ppIndexData = indices;
    if (indices)
        indices->AddRef();
    return D3D_OK;
}

HRESULT D3D9_Device_Base::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                        IDirect3DSurface9** ppBackBuffer)
{
    if (!ppBackBuffer)
        return D3DERR_INVALIDCALL;
    *ppBackBuffer = nullptr;
    if (iSwapChain != 0 || iBackBuffer != 0 || Type != D3DBACKBUFFER_TYPE_MONO)
        return D3DERR_INVALIDCALL;
    *ppBackBuffer = new D3D9_Back_Buffer(this, this, present.BackBufferWidth, present.BackBufferHeight,
                                         [this](std::vector<DWORD>* pixels) { return ReadBackBuffer(pixels); });
    return D3D_OK;
}

// ---- Drawing ----

HRESULT D3D9_Device_Base::PrepareFormat(D3D9_Draw& draw, D3DPRIMITIVETYPE type, UINT primitives) const
{
    if (!in_scene || !valid_primitive(type) || primitives == 0 || primitives > max_primitives || fvf == 0)
        return D3DERR_INVALIDCALL;
    if (!draw.layout.Decode(fvf))
        return D3DERR_INVALIDCALL;
    draw.type = type;
    draw.primitives = primitives;
    draw.count = d3d9_vertex_count(type, primitives);
    draw.fvf = fvf;
    return D3D_OK;
}

HRESULT D3D9_Device_Base::Draw(D3D9_Draw& draw)
{
    DoDraw(draw);
    return D3D_OK;
}

HRESULT D3D9_Device_Base::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount)
{
    D3D9_Draw draw;
    HRESULT hr = PrepareFormat(draw, PrimitiveType, PrimitiveCount);
    if (FAILED(hr))
        return hr;
    const Stream& s = stream_sources[0];
    if (!s.buffer || s.buffer->data.Locked() || s.stride < draw.layout.size)
        return D3DERR_INVALIDCALL;
    const unsigned long long end =
        s.offset + (unsigned long long)(StartVertex + (unsigned long long)draw.count - 1) * s.stride + draw.layout.size;
    if (end > s.buffer->data.Length())
        return D3DERR_INVALIDCALL;
    draw.stride = s.stride;
    draw.buffer = s.buffer;
    draw.buffer_offset = s.offset;
    draw.first_vertex = StartVertex;
    return Draw(draw);
}

HRESULT D3D9_Device_Base::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT,
                                               UINT, UINT startIndex, UINT primCount)
{
    D3D9_Draw draw;
    HRESULT hr = PrepareFormat(draw, PrimitiveType, primCount);
    if (FAILED(hr))
        return hr;
    const Stream& s = stream_sources[0];
    if (!s.buffer || !indices || s.buffer->data.Locked() || indices->data.Locked() || s.stride < draw.layout.size)
        return D3DERR_INVALIDCALL;
    if (startIndex > indices->IndexCount() || draw.count > indices->IndexCount() - startIndex)
        return D3DERR_INVALIDCALL;
    UINT low, high;
    indices->IndexRange(startIndex, draw.count, &low, &high);
    const long long first = (long long)BaseVertexIndex + low;
    const long long last = (long long)BaseVertexIndex + high;
    if (first < 0 || (unsigned long long)s.offset + (unsigned long long)last * s.stride + draw.layout.size >
                         s.buffer->data.Length())
        return D3DERR_INVALIDCALL;
    draw.stride = s.stride;
    draw.buffer = s.buffer;
    draw.buffer_offset = s.offset;
    draw.indexed = true;
    draw.index_format = indices->Format();
    draw.index_buffer = indices;
    draw.first_index = startIndex;
    draw.base_vertex = BaseVertexIndex;
    draw.min_index = low;
    draw.max_index = high;
    return Draw(draw);
}

HRESULT D3D9_Device_Base::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                          CONST void* pVertexStreamZeroData, UINT VertexStreamZeroStride)
{
    D3D9_Draw draw;
    HRESULT hr = PrepareFormat(draw, PrimitiveType, PrimitiveCount);
    if (FAILED(hr))
        return hr;
    if (!pVertexStreamZeroData || VertexStreamZeroStride < draw.layout.size)
        return D3DERR_INVALIDCALL;
    draw.stride = VertexStreamZeroStride;
    draw.user_vertices = static_cast<const BYTE*>(pVertexStreamZeroData);
    draw.vertex_bytes = (draw.count - 1) * VertexStreamZeroStride + draw.layout.size;
    hr = Draw(draw);
    SetStreamSlot(0, nullptr, 0, 0);
    return hr;
}

HRESULT D3D9_Device_Base::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex,
                                                 UINT NumVertices, UINT PrimitiveCount, CONST void* pIndexData,
                                                 D3DFORMAT IndexDataFormat, CONST void* pVertexStreamZeroData,
                                                 UINT VertexStreamZeroStride)
{
    D3D9_Draw draw;
    HRESULT hr = PrepareFormat(draw, PrimitiveType, PrimitiveCount);
    if (FAILED(hr))
        return hr;
    if (!pIndexData || !pVertexStreamZeroData || NumVertices == 0 || VertexStreamZeroStride < draw.layout.size ||
        (IndexDataFormat != D3DFMT_INDEX16 && IndexDataFormat != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    const BYTE* bytes = static_cast<const BYTE*>(pIndexData);
    UINT low, high;
    d3d9_index_range(bytes, IndexDataFormat == D3DFMT_INDEX32 ? 4 : 2, draw.count, &low, &high);
    if (low < MinVertexIndex || (unsigned long long)high >= (unsigned long long)MinVertexIndex + NumVertices)
        return D3DERR_INVALIDCALL;
    draw.stride = VertexStreamZeroStride;
    draw.user_vertices = static_cast<const BYTE*>(pVertexStreamZeroData);
    draw.vertex_bytes = high * VertexStreamZeroStride + draw.layout.size;
    draw.indexed = true;
    draw.index_format = IndexDataFormat;
    draw.user_indices = bytes;
    draw.min_index = low;
    draw.max_index = high;
    hr = Draw(draw);
    SetStreamSlot(0, nullptr, 0, 0);
    SetIndexSlot(nullptr);
    return hr;
}
