#include "d3d9_headless_device.h"

#include "call_log.h"
#include "d3d9_headless_index_buffer.h"
#include "d3d9_headless_texture.h"
#include "d3d9_headless_vertex_buffer.h"
#include "d3d9_log_format.h"

#include <cstring>

using namespace orvex_headless;

namespace orvex_headless {
void d3d9_keep_draw(Recorded_Draw draw);
void d3d9_device_gone(IDirect3DDevice9* device);
}  // namespace orvex_headless

namespace {

std::string number(long long value) { return std::to_string(value); }

std::string pointer(const void* p) { return p ? "..." : "NULL"; }

std::string light_type(D3DLIGHTTYPE type)
{
    switch (type) {
    case D3DLIGHT_POINT: return "POINT";
    case D3DLIGHT_SPOT: return "SPOT";
    case D3DLIGHT_DIRECTIONAL: return "DIRECTIONAL";
    default: return number(type);
    }
}

std::string vector3(const D3DVECTOR& v) { return d3d9_float(v.x) + " " + d3d9_float(v.y) + " " + d3d9_float(v.z); }

}  // namespace

D3D9_Headless_Device::D3D9_Headless_Device(IDirect3D9* d3d, const D3DDEVICE_CREATION_PARAMETERS& creation,
                                           const D3DPRESENT_PARAMETERS& present)
    : D3D9_Device_Base(d3d, creation, present)
{
}

D3D9_Headless_Device::~D3D9_Headless_Device() { d3d9_device_gone(this); }

HRESULT D3D9_Headless_Device::Logged(HRESULT hr, const std::string& line)
{
    record_call(FAILED(hr) ? line + " -> " + d3d9_result(hr) : line);
    return hr;
}

HRESULT D3D9_Headless_Device::LoggedDraw(HRESULT hr, const std::string& line)
{
    Logged(hr, line);
    if (draw_pending) {
        draw_pending = false;
        pending_draw.call = line;
        d3d9_keep_draw(std::move(pending_draw));
        pending_draw = Recorded_Draw();
    }
    return hr;
}

std::string D3D9_Headless_Device::NameOf(const void* resource) const
{
    if (!resource)
        return "NULL";
    D3D9_Resource_Link* link = Find(resource);
    if (!link)
        return "?";
    auto* labelled = dynamic_cast<D3D9_Headless_Label*>(link);
    return labelled ? labelled->label : "?";
}

// ---- Resources ----

D3D9_Texture* D3D9_Headless_Device::NewTexture(DWORD usage, D3DFORMAT format, D3DPOOL pool)
{
    return new D3D9_Headless_Texture(this, this, usage, format, pool, "tex#" + number(++textures_made));
}

D3D9_Vertex_Buffer* D3D9_Headless_Device::NewVertexBuffer(DWORD usage, DWORD fvf, D3DPOOL pool)
{
    return new D3D9_Headless_Vertex_Buffer(this, this, usage, fvf, pool, "vb#" + number(++vertex_buffers_made));
}

D3D9_Index_Buffer* D3D9_Headless_Device::NewIndexBuffer(DWORD usage, D3DFORMAT format, D3DPOOL pool)
{
    return new D3D9_Headless_Index_Buffer(this, this, usage, format, pool, "ib#" + number(++index_buffers_made));
}

HRESULT D3D9_Headless_Device::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle)
{
    const HRESULT hr =
        D3D9_Device_Base::CreateTexture(Width, Height, Levels, Usage, Format, Pool, ppTexture, pSharedHandle);
    const std::string line = "CreateTexture(" + number(Width) + ", " + number(Height) + ", " + number(Levels) +
                             ", " + d3d9_usage(Usage) + ", " + d3d9_format(Format) + ", " + d3d9_pool(Pool) + ")";
    return Logged(hr, SUCCEEDED(hr) ? line + " -> " + NameOf(*ppTexture) : line);
}

HRESULT D3D9_Headless_Device::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                                 IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle)
{
    HRESULT hr = d3d9_failures().create_vertex_buffer;
    if (SUCCEEDED(hr))
        hr = D3D9_Device_Base::CreateVertexBuffer(Length, Usage, FVF, Pool, ppVertexBuffer, pSharedHandle);
    else if (ppVertexBuffer)
        *ppVertexBuffer = nullptr;
    const std::string line = "CreateVertexBuffer(" + number(Length) + ", " + d3d9_usage(Usage) + ", " +
                             d3d9_fvf(FVF) + ", " + d3d9_pool(Pool) + ")";
    return Logged(hr, SUCCEEDED(hr) ? line + " -> " + NameOf(*ppVertexBuffer) : line);
}

HRESULT D3D9_Headless_Device::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle)
{
    const HRESULT hr = D3D9_Device_Base::CreateIndexBuffer(Length, Usage, Format, Pool, ppIndexBuffer, pSharedHandle);
    const std::string line = "CreateIndexBuffer(" + number(Length) + ", " + d3d9_usage(Usage) + ", " +
                             d3d9_format(Format) + ", " + d3d9_pool(Pool) + ")";
    return Logged(hr, SUCCEEDED(hr) ? line + " -> " + NameOf(*ppIndexBuffer) : line);
}

// ---- Frames ----

HRESULT D3D9_Headless_Device::Reset(D3DPRESENT_PARAMETERS* pp)
{
    std::string line = "Reset(NULL)";
    if (pp)
        line = "Reset({" + number(pp->BackBufferWidth) + "x" + number(pp->BackBufferHeight) + " " +
               d3d9_format(pp->BackBufferFormat) + ", MultiSample " + number(pp->MultiSampleType) + "/" +
               number(pp->MultiSampleQuality) + "})";
    return Logged(D3D9_Device_Base::Reset(pp), line);
}

HRESULT D3D9_Headless_Device::Present(CONST RECT* pSourceRect, CONST RECT* pDestRect, HWND hDestWindowOverride,
                                      CONST RGNDATA* pDirtyRegion)
{
    const std::string line = "Present(" + d3d9_rect(pSourceRect) + ", " + d3d9_rect(pDestRect) + ", " +
                             (hDestWindowOverride ? "hwnd" : "NULL") + ", " + (pDirtyRegion ? "..." : "NULL") + ")";
    return Logged(D3D9_Device_Base::Present(pSourceRect, pDestRect, hDestWindowOverride, pDirtyRegion), line);
}

HRESULT D3D9_Headless_Device::BeginScene() { return Logged(D3D9_Device_Base::BeginScene(), "BeginScene()"); }

HRESULT D3D9_Headless_Device::EndScene() { return Logged(D3D9_Device_Base::EndScene(), "EndScene()"); }

HRESULT D3D9_Headless_Device::Clear(DWORD Count, CONST D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                                    DWORD Stencil)
{
    std::string rects = "NULL";
    if (pRects) {
        rects.clear();
        for (DWORD i = 0; i < Count && i < 16; ++i) {
            const RECT r{pRects[i].x1, pRects[i].y1, pRects[i].x2, pRects[i].y2};
            rects += d3d9_rect(&r);
        }
    }
    const std::string line = "Clear(" + number(Count) + ", " + rects + ", " + d3d9_clear_flags(Flags) + ", " +
                             d3d9_hex(Color) + ", " + d3d9_float(Z) + ", " + number(Stencil) + ")";
    return Logged(D3D9_Device_Base::Clear(Count, pRects, Flags, Color, Z, Stencil), line);
}

void D3D9_Headless_Device::DoClear(DWORD, const D3DRECT*, DWORD flags, D3DCOLOR color, float, DWORD)
{
    if (flags & D3DCLEAR_TARGET)
        clear_colour = color;
}

HRESULT D3D9_Headless_Device::DoPresent()
{
    ++frames;
    return D3D_OK;
}

HRESULT D3D9_Headless_Device::DoReset(const D3DPRESENT_PARAMETERS&) { return D3D_OK; }

bool D3D9_Headless_Device::ReadBackBuffer(std::vector<DWORD>* pixels)
{
    pixels->assign(size_t(PresentParameters().BackBufferWidth) * PresentParameters().BackBufferHeight,
                   clear_colour | 0xFF000000u);
    return true;
}

HRESULT D3D9_Headless_Device::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                            IDirect3DSurface9** ppBackBuffer)
{
    const std::string line = "GetBackBuffer(" + std::to_string(iSwapChain) + ", " + std::to_string(iBackBuffer) +
                             ", " + std::to_string(int(Type)) + ")";
    return Logged(D3D9_Device_Base::GetBackBuffer(iSwapChain, iBackBuffer, Type, ppBackBuffer), line);
}

// ---- State ----

HRESULT D3D9_Headless_Device::SetTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix)
{
    return Logged(D3D9_Device_Base::SetTransform(State, pMatrix),
                  "SetTransform(" + d3d9_transform(State) + ", " + d3d9_matrix(pMatrix) + ")");
}

HRESULT D3D9_Headless_Device::MultiplyTransform(D3DTRANSFORMSTATETYPE State, CONST D3DMATRIX* pMatrix)
{
    return Logged(D3D9_Device_Base::MultiplyTransform(State, pMatrix),
                  "MultiplyTransform(" + d3d9_transform(State) + ", " + d3d9_matrix(pMatrix) + ")");
}

HRESULT D3D9_Headless_Device::SetViewport(CONST D3DVIEWPORT9* v)
{
    std::string text = "NULL";
    if (v)
        text = "{" + number(v->X) + " " + number(v->Y) + " " + number(v->Width) + " " + number(v->Height) + " " +
               d3d9_float(v->MinZ) + " " + d3d9_float(v->MaxZ) + "}";
    return Logged(D3D9_Device_Base::SetViewport(v), "SetViewport(" + text + ")");
}

HRESULT D3D9_Headless_Device::SetMaterial(CONST D3DMATERIAL9* m)
{
    std::string text = "NULL";
    if (m)
        text = "{D " + d3d9_colour_value(m->Diffuse) + ", A " + d3d9_colour_value(m->Ambient) + ", S " +
               d3d9_colour_value(m->Specular) + ", E " + d3d9_colour_value(m->Emissive) + ", P " +
               d3d9_float(m->Power) + "}";
    return Logged(D3D9_Device_Base::SetMaterial(m), "SetMaterial(" + text + ")");
}

HRESULT D3D9_Headless_Device::SetLight(DWORD Index, CONST D3DLIGHT9* l)
{
    std::string text = "NULL";
    if (l)
        text = "{" + light_type(l->Type) + ", D " + d3d9_colour_value(l->Diffuse) + ", S " +
               d3d9_colour_value(l->Specular) + ", A " + d3d9_colour_value(l->Ambient) + ", Pos " +
               vector3(l->Position) + ", Dir " + vector3(l->Direction) + ", Range " + d3d9_float(l->Range) +
               ", Att " + d3d9_float(l->Attenuation0) + " " + d3d9_float(l->Attenuation1) + " " +
               d3d9_float(l->Attenuation2) + "}";
    return Logged(D3D9_Device_Base::SetLight(Index, l), "SetLight(" + number(Index) + ", " + text + ")");
}

HRESULT D3D9_Headless_Device::LightEnable(DWORD Index, BOOL Enable)
{
    return Logged(D3D9_Device_Base::LightEnable(Index, Enable),
                  "LightEnable(" + number(Index) + ", " + number(Enable) + ")");
}

HRESULT D3D9_Headless_Device::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value)
{
    return Logged(D3D9_Device_Base::SetRenderState(State, Value), "SetRenderState(" + d3d9_render_state(State) +
                                                                       ", " + d3d9_render_state_value(State, Value) +
                                                                       ")");
}

HRESULT D3D9_Headless_Device::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture)
{
    const std::string line = "SetTexture(" + number(Stage) + ", " + NameOf(pTexture) + ")";
    return Logged(D3D9_Device_Base::SetTexture(Stage, pTexture), line);
}

HRESULT D3D9_Headless_Device::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value)
{
    return Logged(D3D9_Device_Base::SetTextureStageState(Stage, Type, Value),
                  "SetTextureStageState(" + number(Stage) + ", " + d3d9_stage_state(Type) + ", " +
                      d3d9_stage_state_value(Type, Value) + ")");
}

HRESULT D3D9_Headless_Device::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value)
{
    return Logged(D3D9_Device_Base::SetSamplerState(Sampler, Type, Value),
                  "SetSamplerState(" + number(Sampler) + ", " + d3d9_sampler_state(Type) + ", " +
                      d3d9_sampler_state_value(Type, Value) + ")");
}

HRESULT D3D9_Headless_Device::SetScissorRect(CONST RECT* pRect)
{
    return Logged(D3D9_Device_Base::SetScissorRect(pRect), "SetScissorRect(" + d3d9_rect(pRect) + ")");
}

HRESULT D3D9_Headless_Device::SetFVF(DWORD FVF)
{
    return Logged(D3D9_Device_Base::SetFVF(FVF), "SetFVF(" + d3d9_fvf(FVF) + ")");
}

HRESULT D3D9_Headless_Device::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                              UINT OffsetInBytes, UINT Stride)
{
    const std::string line = "SetStreamSource(" + number(StreamNumber) + ", " + NameOf(pStreamData) + ", " +
                             number(OffsetInBytes) + ", " + number(Stride) + ")";
    return Logged(D3D9_Device_Base::SetStreamSource(StreamNumber, pStreamData, OffsetInBytes, Stride), line);
}

HRESULT D3D9_Headless_Device::SetIndices(IDirect3DIndexBuffer9* pIndexData)
{
    const std::string line = "SetIndices(" + NameOf(pIndexData) + ")";
    return Logged(D3D9_Device_Base::SetIndices(pIndexData), line);
}

// ---- Drawing ----

HRESULT D3D9_Headless_Device::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount)
{
    return LoggedDraw(D3D9_Device_Base::DrawPrimitive(PrimitiveType, StartVertex, PrimitiveCount),
                      "DrawPrimitive(" + d3d9_primitive(PrimitiveType) + ", " + number(StartVertex) + ", " +
                          number(PrimitiveCount) + ")");
}

HRESULT D3D9_Headless_Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                                   UINT MinVertexIndex, UINT NumVertices, UINT startIndex,
                                                   UINT primCount)
{
    return LoggedDraw(D3D9_Device_Base::DrawIndexedPrimitive(PrimitiveType, BaseVertexIndex, MinVertexIndex,
                                                             NumVertices, startIndex, primCount),
                      "DrawIndexedPrimitive(" + d3d9_primitive(PrimitiveType) + ", " + number(BaseVertexIndex) +
                          ", " + number(MinVertexIndex) + ", " + number(NumVertices) + ", " + number(startIndex) +
                          ", " + number(primCount) + ")");
}

HRESULT D3D9_Headless_Device::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                              CONST void* pVertexStreamZeroData, UINT VertexStreamZeroStride)
{
    return LoggedDraw(
        D3D9_Device_Base::DrawPrimitiveUP(PrimitiveType, PrimitiveCount, pVertexStreamZeroData,
                                          VertexStreamZeroStride),
        "DrawPrimitiveUP(" + d3d9_primitive(PrimitiveType) + ", " + number(PrimitiveCount) + ", " +
            pointer(pVertexStreamZeroData) + ", " + number(VertexStreamZeroStride) + ")");
}

HRESULT D3D9_Headless_Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex,
                                                     UINT NumVertices, UINT PrimitiveCount, CONST void* pIndexData,
                                                     D3DFORMAT IndexDataFormat, CONST void* pVertexStreamZeroData,
                                                     UINT VertexStreamZeroStride)
{
    return LoggedDraw(D3D9_Device_Base::DrawIndexedPrimitiveUP(PrimitiveType, MinVertexIndex, NumVertices,
                                                               PrimitiveCount, pIndexData, IndexDataFormat,
                                                               pVertexStreamZeroData, VertexStreamZeroStride),
                      "DrawIndexedPrimitiveUP(" + d3d9_primitive(PrimitiveType) + ", " + number(MinVertexIndex) +
                          ", " + number(NumVertices) + ", " + number(PrimitiveCount) + ", " + pointer(pIndexData) +
                          ", " + d3d9_format(IndexDataFormat) + ", " + pointer(pVertexStreamZeroData) + ", " +
                          number(VertexStreamZeroStride) + ")");
}

void D3D9_Headless_Device::DoDraw(const D3D9_Draw& draw)
{
    Recorded_Draw& r = pending_draw;
    r = Recorded_Draw();
    r.type = draw.type;
    r.primitives = draw.primitives;
    r.fvf = draw.fvf;
    r.stride = draw.stride;
    r.texture0 = NameOf(Texture(0) ? static_cast<IDirect3DTexture9*>(Texture(0)) : nullptr);
    r.fill_mode = RenderState(D3DRS_FILLMODE);
    // The vertex bytes from vertex 0 of the draw (after the start or base vertex). Indexed draws
    // read nothing below their smallest index, so those bytes stay zero.
    const UINT vertex_count = draw.indexed ? draw.max_index + 1 : draw.count;
    const size_t skip = draw.indexed ? size_t(draw.min_index) * draw.stride : 0;
    const size_t bytes = size_t(vertex_count - 1) * draw.stride + draw.layout.size - skip;
    const BYTE* source = nullptr;
    if (draw.user_vertices) {
        source = draw.user_vertices + skip;
    } else {
        const long long first = draw.indexed ? draw.base_vertex : (long long)draw.first_vertex;
        source = draw.buffer->data.Bytes() + (draw.buffer_offset + first * draw.stride + (long long)skip);
    }
    r.vertices.assign(size_t(vertex_count) * draw.stride, 0);
    std::memcpy(r.vertices.data() + skip, source, bytes);
    if (draw.indexed) {
        const BYTE* indices = draw.user_indices;
        const UINT size = draw.index_format == D3DFMT_INDEX32 ? 4 : 2;
        if (draw.index_buffer)
            indices = draw.index_buffer->data.Bytes() + size_t(draw.first_index) * size;
        r.indices.resize(draw.count);
        for (UINT i = 0; i < draw.count; ++i)
            r.indices[i] = d3d9_index_at(indices, size, i);
    }
    draw_pending = true;
}
