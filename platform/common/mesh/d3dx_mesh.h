#pragma once
// mesh/: .x files checked and imported (Assimp) into vertices, indices and materials, and the
// ID3DXMesh built from them. Used by d3dx/'s mesh loader, which both realizations call.
//
// ID3DXMesh: a vertex buffer and an index buffer made on the mesh's device through its public
// interface, the attribute buffer and the attribute table. Everything but drawing is shared by
// both realizations; DrawSubset hands over to the drawing function the realization gave when
// the mesh was loaded (see d3dx/d3dx_loaders.h).
#include <d3dx9.h>

#include "common/mesh/mesh_import.h"

#include <string>
#include <vector>

class D3dx_Mesh;
typedef HRESULT (*D3dx_Draw_Subset)(D3dx_Mesh& mesh, DWORD attrib);

class D3dx_Mesh final : public ID3DXMesh {
public:
    // Makes the buffers on device (pools and usages from the D3DXMESH_* options; 32-bit indices
    // when asked for or when there are more than 65535 vertices) and fills them from data.
    // name is what the headless log shows: the path the mesh was loaded from, as given.
    // Answers the device's error, with nothing created, when a buffer cannot be made or locked.
    static HRESULT create(IDirect3DDevice9* device, DWORD options, const Mesh_Data& data, const std::string& name,
                          D3dx_Draw_Subset draw, D3dx_Mesh** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DrawSubset(DWORD AttribId) override;
    DWORD STDMETHODCALLTYPE GetNumFaces() override;
    DWORD STDMETHODCALLTYPE GetNumVertices() override;
    DWORD STDMETHODCALLTYPE GetFVF() override;
    DWORD STDMETHODCALLTYPE GetNumBytesPerVertex() override;
    DWORD STDMETHODCALLTYPE GetOptions() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** ppDevice) override;
    HRESULT STDMETHODCALLTYPE GetVertexBuffer(IDirect3DVertexBuffer9** ppVB) override;
    HRESULT STDMETHODCALLTYPE GetIndexBuffer(IDirect3DIndexBuffer9** ppIB) override;
    HRESULT STDMETHODCALLTYPE LockVertexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockVertexBuffer() override;
    HRESULT STDMETHODCALLTYPE LockIndexBuffer(DWORD Flags, LPVOID* ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockIndexBuffer() override;
    HRESULT STDMETHODCALLTYPE GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) override;
    HRESULT STDMETHODCALLTYPE LockAttributeBuffer(DWORD Flags, DWORD** ppData) override;
    HRESULT STDMETHODCALLTYPE UnlockAttributeBuffer() override;

    // SetFVF, SetStreamSource(0), SetIndices and one DrawIndexedPrimitive of the subset's faces;
    // nothing for a subset with no faces or an id with no subset.
    HRESULT draw_through_device(DWORD attrib);
    const std::string& name() const { return name_; }

private:
    D3dx_Mesh() = default;
    ~D3dx_Mesh();

    ULONG refs = 1;
    IDirect3DDevice9* device = nullptr;        // one reference held
    IDirect3DVertexBuffer9* vertex_buffer = nullptr;
    IDirect3DIndexBuffer9* index_buffer = nullptr;
    DWORD options = 0;
    DWORD fvf = 0;
    DWORD stride = 0;
    DWORD vertex_count = 0;
    DWORD face_count = 0;
    std::vector<DWORD> attributes;
    std::vector<D3DXATTRIBUTERANGE> table;
    std::string name_;
    D3dx_Draw_Subset draw = nullptr;
};
