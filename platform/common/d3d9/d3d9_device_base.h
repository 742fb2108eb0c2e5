#pragma once
// d3d9/: the Direct3D 9 objects both realizations share: resources and their counting, buffers,
// textures, the vertex layout, the back buffer, the device and Direct3D bases. native/ derives
// the GL device from them, headless/ the recording one.
//
// What both device realizations share: every piece of device state with D3D9's values at
// creation, the validation D3D9 does (bad calls answer D3DERR_INVALIDCALL and change nothing),
// reference counting, and the resources. A realization derives from it and supplies the hooks
// (clear, draw, present, and the resource objects it wants); the headless device also wraps
// every method to record it.
//
// Validation, as D3D9 answers it:
//  - draws outside BeginScene/EndScene, with no vertex format, an unknown primitive type, a count
//    of 0, a null vertex pointer, a stride smaller than the format, or a range that reads past a
//    buffer (indices checked against the vertices they reach);
//  - BeginScene inside a scene, EndScene outside one;
//  - Clear of a depth buffer the device does not have, a depth outside [0, 1], rectangles
//    promised but not given;
//  - unknown states, stages, samplers, transforms; a viewport outside the back buffer;
//  - binding a resource that was released or belongs to another device.
// DrawPrimitiveUP leaves stream 0 unset and DrawIndexedPrimitiveUP the indices unset, as D3D9 does.
#include "common/d3d9/d3d9_index_buffer.h"
#include "common/d3d9/d3d9_resource.h"
#include "common/d3d9/d3d9_texture.h"
#include "common/d3d9/d3d9_vertex_buffer.h"
#include "common/d3d9/d3d9_vertex_layout.h"

#include <map>
#include <vector>
#include <unordered_map>

// a x b for row-vector matrices (apply a, then b).
D3DMATRIX d3d9_multiply(const D3DMATRIX& a, const D3DMATRIX& b);

// One draw, validated, as the realization receives it.
struct D3D9_Draw {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    UINT primitives = 0;
    UINT count = 0;  // vertices (or indices, when indexed) the primitives use
    DWORD fvf = 0;
    D3D9_Vertex_Layout layout;
    UINT stride = 0;
    // Vertices: user memory (the UP draws: `user_vertices`, `vertex_bytes` long, holding the vertex
    // the draw starts at) or a buffer (`buffer`, with `buffer_offset` the byte of vertex 0).
    const BYTE* user_vertices = nullptr;
    UINT vertex_bytes = 0;
    D3D9_Vertex_Buffer* buffer = nullptr;
    UINT buffer_offset = 0;
    UINT first_vertex = 0;  // DrawPrimitive's start vertex (0 for the other draws)
    // Indices: user memory or an index buffer, `first_index` the first one used.
    bool indexed = false;
    D3DFORMAT index_format = D3DFMT_INDEX16;
    const BYTE* user_indices = nullptr;
    D3D9_Index_Buffer* index_buffer = nullptr;
    UINT first_index = 0;
    INT base_vertex = 0;
    UINT min_index = 0;  // the smallest and largest index used, before base_vertex is added
    UINT max_index = 0;
};

class D3D9_Device_Base : public IDirect3DDevice9, protected D3D9_Resource_Registry {
public:
    static constexpr UINT max_primitives = 0x00FFFFFF;
    static constexpr DWORD texture_stages = 8;
    static constexpr DWORD texture_slots = 16;
    static constexpr DWORD samplers = 16;
    static constexpr DWORD streams = 16;

    struct Stream {
        D3D9_Vertex_Buffer* buffer = nullptr;
        UINT offset = 0;
        UINT stride = 0;
    };
    struct Light {
        D3DLIGHT9 light{};
        bool enabled = false;
    };

    // d3d gains a reference. `present` is the completed parameters (sizes and formats filled in).
    D3D9_Device_Base(IDirect3D9* d3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
                     const D3DPRESENT_PARAMETERS& present);
    D3D9_Device_Base(const D3D9_Device_Base&) = delete;
    D3D9_Device_Base& operator=(const D3D9_Device_Base&) = delete;
    virtual ~D3D9_Device_Base();

    // State as the device holds it now (the realizations read it; tests read it on headless).
    DWORD RenderState(D3DRENDERSTATETYPE state) const { return render_states[state & 0xFF]; }
    DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const { return stage_states[stage][type]; }
    DWORD SamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const { return sampler_states[sampler][type]; }
    const D3DMATRIX& Transform(D3DTRANSFORMSTATETYPE state) const { return transforms[TransformSlot(state)]; }
    const D3DMATERIAL9& Material() const { return material; }
    const std::map<DWORD, Light>& Lights() const { return lights; }
    D3D9_Texture* Texture(DWORD stage) const { return textures[stage]; }
    DWORD Fvf() const { return fvf; }
    const Stream& StreamSource(UINT stream) const { return stream_sources[stream]; }
    D3D9_Index_Buffer* Indices() const { return indices; }
    const D3DVIEWPORT9& Viewport() const { return viewport; }
    const RECT& Scissor() const { return scissor; }
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return present; }
    bool InScene() const { return in_scene; }
    // Advances whenever a state, material, light, viewport, texture or the vertex format changes
    // (not for transforms, nor for streams and indices, which every draw reads afresh).
    unsigned StateSerial() const { return state_serial; }
    // Advances whenever a render or sampler state, the viewport or the scissor rectangle changes.
    unsigned RenderSerial() const { return render_serial; }
    // Advances whenever a transform changes.
    unsigned TransformSerial() const { return transform_serial; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDirect3DDevice9
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** ppD3D9) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* pCaps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) override;
    HRESULT STDMETHODCALLTYPE GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
    HRESULT STDMETHODCALLTYPE Present(CONST RECT* pSourceRect, CONST RECT* pDestRect, HWND hDestWindowOverride,
                                      CONST RGNDATA* pDirtyRegion) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, IDirect3DTexture9** ppTexture,
                                            HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                                 IDirect3DVertexBuffer9** ppVertexBuffer,
                                                 HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                IDirect3DIndexBuffer9** ppIndexBuffer,
                                                HANDLE* pSharedHandle) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD Count, CONST D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                                    DWORD Stencil) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix) override;
    HRESULT STDMETHODCALLTYPE SetViewport(CONST D3DVIEWPORT9* pViewport) override;
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* pViewport) override;
    HRESULT STDMETHODCALLTYPE SetMaterial(CONST D3DMATERIAL9* pMaterial) override;
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* pMaterial) override;
    HRESULT STDMETHODCALLTYPE SetLight(DWORD Index, CONST D3DLIGHT9* pLight) override;
    HRESULT STDMETHODCALLTYPE GetLight(DWORD Index, D3DLIGHT9* pLight) override;
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD Index, BOOL Enable) override;
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD Index, BOOL* pEnable) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                   DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) override;
    HRESULT STDMETHODCALLTYPE SetScissorRect(CONST RECT* pRect) override;
    HRESULT STDMETHODCALLTYPE GetScissorRect(RECT* pRect) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                            UINT PrimitiveCount) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                                   UINT MinVertexIndex, UINT NumVertices, UINT startIndex,
                                                   UINT primCount) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                              CONST void* pVertexStreamZeroData,
                                              UINT VertexStreamZeroStride) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex,
                                                     UINT NumVertices, UINT PrimitiveCount, CONST void* pIndexData,
                                                     D3DFORMAT IndexDataFormat, CONST void* pVertexStreamZeroData,
                                                     UINT VertexStreamZeroStride) override;
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD FVF) override;
    HRESULT STDMETHODCALLTYPE GetFVF(DWORD* pFVF) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                              UINT OffsetInBytes, UINT Stride) override;
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData,
                                              UINT* pOffsetInBytes, UINT* pStride) override;
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* pIndexData) override;
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** ppIndexData) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                            IDirect3DSurface9** ppBackBuffer) override;

protected:
    // Resource objects of the realization; null when they cannot be made.
    virtual D3D9_Texture* NewTexture(DWORD usage, D3DFORMAT format, D3DPOOL pool);
    virtual D3D9_Vertex_Buffer* NewVertexBuffer(DWORD usage, DWORD fvf, D3DPOOL pool);
    virtual D3D9_Index_Buffer* NewIndexBuffer(DWORD usage, D3DFORMAT format, D3DPOOL pool);
    // The work itself, on arguments already validated. Clear's rectangles are clipped to the
    // viewport (no rectangles: the viewport).
    virtual void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) = 0;
    virtual void DoDraw(const D3D9_Draw& draw) = 0;
    virtual HRESULT DoPresent() = 0;
    // Reset: the back buffer changes to `present` (already completed and checked).
    virtual HRESULT DoReset(const D3DPRESENT_PARAMETERS& present) = 0;
    // What the back buffer holds now: BackBufferWidth x BackBufferHeight D3DCOLOR values (alpha
    // 0xFF), top row first. False when it cannot be read.
    virtual bool ReadBackBuffer(std::vector<DWORD>* pixels) = 0;
    // Multisample types the realization can make (the device's own type passed creation).
    virtual void FillCaps(D3DCAPS9* caps);

    // D3D9_Resource_Registry
    void Remember(const void* iface, D3D9_Resource_Link* link) override;
    void Forget(const void* iface) override;
    D3D9_Resource_Link* Find(const void* iface) const override;

    // Sets every state to its value at creation (and on Reset).
    void ResetState();
    // Drops every texture, stream and index binding; a realization whose resources need it alive
    // to go calls this first in its destructor. Release() does nothing from then on.
    void ReleaseBindings();

    IDirect3D9* d3d;
    D3DDEVICE_CREATION_PARAMETERS creation;
    D3DPRESENT_PARAMETERS present;

private:
    static int TransformSlot(D3DTRANSFORMSTATETYPE state);
    bool KnownRenderState(D3DRENDERSTATETYPE state) const;
    HRESULT Draw(D3D9_Draw& draw);
    HRESULT PrepareFormat(D3D9_Draw& draw, D3DPRIMITIVETYPE type, UINT primitives) const;
    void SetTextureSlot(DWORD stage, D3D9_Texture* texture);
    void SetStreamSlot(UINT stream, D3D9_Vertex_Buffer* buffer, UINT offset, UINT stride);
    void SetIndexSlot(D3D9_Index_Buffer* buffer);

    ULONG refs = 1;
    bool destroying = false;
    std::unordered_map<const void*, D3D9_Resource_Link*> resources;

    DWORD render_states[256];
    bool known_states[256];
    DWORD stage_states[texture_stages][33];
    DWORD sampler_states[samplers][14];
    D3DMATRIX transforms[266];
    D3DMATERIAL9 material{};
    std::map<DWORD, Light> lights;
    D3D9_Texture* textures[texture_slots] = {};
    DWORD fvf = 0;
    Stream stream_sources[streams];
    D3D9_Index_Buffer* indices = nullptr;
    D3DVIEWPORT9 viewport{};
    RECT scissor{};
    bool in_scene = false;
    unsigned state_serial = 1;
    unsigned render_serial = 1;
    unsigned transform_serial = 1;
};
