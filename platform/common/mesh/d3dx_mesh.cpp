// The mesh object: buffers on the device, attribute data in memory.
#include "common/mesh/d3dx_mesh.h"

#include <string.h>

namespace {

D3DPOOL pool_for(DWORD options, DWORD system_flag, DWORD managed_flag)
{
    if (options & system_flag) return D3DPOOL_SYSTEMMEM;
    if (options & managed_flag) return D3DPOOL_MANAGED;
    return D3DPOOL_DEFAULT;
}

DWORD usage_for(DWORD options, DWORD write_only, DWORD dynamic, DWORD software)
{
    return ((options & write_only) ? D3DUSAGE_WRITEONLY : 0) | ((options & dynamic) ? D3DUSAGE_DYNAMIC : 0) |
           ((options & software) ? D3DUSAGE_SOFTWAREPROCESSING : 0);
}

}  // namespace

HRESULT D3dx_Mesh::create(IDirect3DDevice9* device, DWORD options, const Mesh_Data& data, const std::string& name,
                          D3dx_Draw_Subset draw, D3dx_Mesh** out)
{
    if (data.vertex_count() > 0xFFFF) options |= D3DXMESH_32BIT;
    const bool wide = (options & D3DXMESH_32BIT) != 0;
    D3dx_Mesh* mesh = new D3dx_Mesh();
    mesh->device = device;
    device->AddRef();
    mesh->options = options;
    mesh->fvf = data.fvf;
    mesh->stride = data.stride;
    mesh->vertex_count = data.vertex_count();
    mesh->face_count = data.face_count();
    mesh->attributes = data.attributes;
    mesh->table = data.subsets;
    mesh->name_ = name;
    mesh->draw = draw;

    HRESULT hr = device->CreateVertexBuffer(
        (UINT)data.vertices.size(),
        usage_for(options, D3DXMESH_VB_WRITEONLY, D3DXMESH_VB_DYNAMIC, D3DXMESH_VB_SOFTWAREPROCESSING), data.fvf,
        pool_for(options, D3DXMESH_VB_SYSTEMMEM, D3DXMESH_VB_MANAGED), &mesh->vertex_buffer, NULL);
    if (SUCCEEDED(hr)) {
        const UINT index_bytes = (UINT)data.indices.size() * (wide ? 4 : 2);
        hr = device->CreateIndexBuffer(
            index_bytes, usage_for(options, D3DXMESH_IB_WRITEONLY, D3DXMESH_IB_DYNAMIC, D3DXMESH_IB_SOFTWAREPROCESSING),
            wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16, pool_for(options, D3DXMESH_IB_SYSTEMMEM, D3DXMESH_IB_MANAGED),
            &mesh->index_buffer, NULL);
    }
    void* bytes = nullptr;
    if (SUCCEEDED(hr)) hr = mesh->vertex_buffer->Lock(0, 0, &bytes, 0);
    if (SUCCEEDED(hr)) {
        memcpy(bytes, data.vertices.data(), data.vertices.size());
        hr = mesh->vertex_buffer->Unlock();
    }
    if (SUCCEEDED(hr)) hr = mesh->index_buffer->Lock(0, 0, &bytes, 0);
    if (SUCCEEDED(hr)) {
        if (wide) {
            memcpy(bytes, data.indices.data(), data.indices.size() * 4);
        } else {
            uint16_t* narrow = static_cast<uint16_t*>(bytes);
            for (size_t i = 0; i < data.indices.size(); ++i) narrow[i] = (uint16_t)data.indices[i];
        }
        hr = mesh->index_buffer->Unlock();
    }
    if (FAILED(hr)) {
        mesh->Release();
        return hr;
    }
    *out = mesh;
    return D3D_OK;
}

D3dx_Mesh::~D3dx_Mesh()
{
    if (index_buffer) index_buffer->Release();
    if (vertex_buffer) vertex_buffer->Release();
    if (device) device->Release();
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    static const IID unknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    if (iid == unknown) {
        *ppv = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE D3dx_Mesh::AddRef() { return ++refs; }

ULONG STDMETHODCALLTYPE D3dx_Mesh::Release()
{
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::DrawSubset(DWORD AttribId) { return draw(*this, AttribId); }

HRESULT D3dx_Mesh::draw_through_device(DWORD attrib)
{
    for (const D3DXATTRIBUTERANGE& r : table) {
        if (r.AttribId != attrib || r.FaceCount == 0) continue;
        device->SetFVF(fvf);
        device->SetStreamSource(0, vertex_buffer, 0, stride);
        device->SetIndices(index_buffer);
        return device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, r.VertexStart, r.VertexCount, r.FaceStart * 3,
                                            r.FaceCount);
    }
    return D3D_OK;
}

DWORD STDMETHODCALLTYPE D3dx_Mesh::GetNumFaces() { return face_count; }
DWORD STDMETHODCALLTYPE D3dx_Mesh::GetNumVertices() { return vertex_count; }
DWORD STDMETHODCALLTYPE D3dx_Mesh::GetFVF() { return fvf; }
DWORD STDMETHODCALLTYPE D3dx_Mesh::GetNumBytesPerVertex() { return stride; }
DWORD STDMETHODCALLTYPE D3dx_Mesh::GetOptions() { return options; }

HRESULT STDMETHODCALLTYPE D3dx_Mesh::GetDevice(IDirect3DDevice9** ppDevice)
{
    if (!ppDevice) return D3DERR_INVALIDCALL;
    device->AddRef();
    *ppDevice = device;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::GetVertexBuffer(IDirect3DVertexBuffer9** ppVB)
{
    if (!ppVB) return D3DERR_INVALIDCALL;
    vertex_buffer->AddRef();
    *ppVB = vertex_buffer;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::GetIndexBuffer(IDirect3DIndexBuffer9** ppIB)
{
    if (!ppIB) return D3DERR_INVALIDCALL;
    index_buffer->AddRef();
    *ppIB = index_buffer;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::LockVertexBuffer(DWORD Flags, LPVOID* ppData)
{
    if (!ppData) return D3DERR_INVALIDCALL;
    return vertex_buffer->Lock(0, 0, ppData, Flags);
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::UnlockVertexBuffer() { return vertex_buffer->Unlock(); }

HRESULT STDMETHODCALLTYPE D3dx_Mesh::LockIndexBuffer(DWORD Flags, LPVOID* ppData)
{
    if (!ppData) return D3DERR_INVALIDCALL;
    return index_buffer->Lock(0, 0, ppData, Flags);
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::UnlockIndexBuffer() { return index_buffer->Unlock(); }

HRESULT STDMETHODCALLTYPE D3dx_Mesh::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize)
{
    if (!pAttribTableSize && !pAttribTable) return D3DERR_INVALIDCALL;
    if (pAttribTable) memcpy(pAttribTable, table.data(), table.size() * sizeof(D3DXATTRIBUTERANGE));
    if (pAttribTableSize) *pAttribTableSize = (DWORD)table.size();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::LockAttributeBuffer(DWORD, DWORD** ppData)
{
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = attributes.data();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE D3dx_Mesh::UnlockAttributeBuffer() { return D3D_OK; }
