#pragma once
// D3DX 9 meshes: ID3DXBaseMesh / ID3DXMesh, materials and loading a mesh file.
#include <d3d9.h>
#include "d3d9types.h"
#include "d3dx9math.h"

struct IDirect3DDevice9;
struct IDirect3DVertexBuffer9;
struct IDirect3DIndexBuffer9;
struct ID3DXBuffer;
struct ID3DXBaseMesh;
struct ID3DXMesh;
typedef ID3DXBaseMesh* LPD3DXBASEMESH;
typedef ID3DXMesh* LPD3DXMESH;

// Mesh creation options: where the vertex (VB_*) and index (IB_*) buffers live and how they are
// used. The combined names set the same flag for both buffers.
enum _D3DXMESH {
    D3DXMESH_32BIT = 0x001,
    D3DXMESH_DONOTCLIP = 0x002,
    D3DXMESH_POINTS = 0x004,
    D3DXMESH_RTPATCHES = 0x008,
    D3DXMESH_NPATCHES = 0x4000,
    D3DXMESH_VB_SYSTEMMEM = 0x010,
    D3DXMESH_VB_MANAGED = 0x020,
    D3DXMESH_VB_WRITEONLY = 0x040,
    D3DXMESH_VB_DYNAMIC = 0x080,
    D3DXMESH_VB_SOFTWAREPROCESSING = 0x8000,
    D3DXMESH_IB_SYSTEMMEM = 0x100,
    D3DXMESH_IB_MANAGED = 0x200,
    D3DXMESH_IB_WRITEONLY = 0x400,
    D3DXMESH_IB_DYNAMIC = 0x800,
    D3DXMESH_IB_SOFTWAREPROCESSING = 0x10000,
    D3DXMESH_VB_SHARE = 0x1000,
    D3DXMESH_USEHWONLY = 0x2000,
    D3DXMESH_SYSTEMMEM = 0x110,
    D3DXMESH_MANAGED = 0x220,
    D3DXMESH_WRITEONLY = 0x440,
    D3DXMESH_DYNAMIC = 0x880,
    D3DXMESH_SOFTWAREPROCESSING = 0x18000,
};

// One material of a loaded mesh. pTextureFilename is the texture name exactly as the file
// stores it, or null; it points into the materials buffer and lives as long as the buffer.
typedef struct _D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    LPSTR pTextureFilename;
} D3DXMATERIAL, *LPD3DXMATERIAL;

typedef enum _D3DXEFFECTDEFAULTTYPE {
    D3DXEDT_STRING = 0x1,
    D3DXEDT_FLOATS = 0x2,
    D3DXEDT_DWORD = 0x3,
    D3DXEDT_FORCEDWORD = 0x7fffffff
} D3DXEFFECTDEFAULTTYPE;

typedef struct _D3DXEFFECTDEFAULT {
    LPSTR pParamName;
    D3DXEFFECTDEFAULTTYPE Type;
    DWORD NumBytes;
    LPVOID pValue;
} D3DXEFFECTDEFAULT, *LPD3DXEFFECTDEFAULT;

typedef struct _D3DXEFFECTINSTANCE {
    LPSTR pEffectFilename;
    DWORD NumDefaults;
    LPD3DXEFFECTDEFAULT pDefaults;
} D3DXEFFECTINSTANCE, *LPD3DXEFFECTINSTANCE;

// The faces and vertices one subset (attribute id) of a mesh covers.
typedef struct _D3DXATTRIBUTERANGE {
    DWORD AttribId;
    DWORD FaceStart;
    DWORD FaceCount;
    DWORD VertexStart;
    DWORD VertexCount;
} D3DXATTRIBUTERANGE, *LPD3DXATTRIBUTERANGE;

#ifdef __cplusplus

// A mesh: a vertex buffer, an index buffer of triangles (16-bit indices unless D3DXMESH_32BIT)
// and an attribute table that groups the faces into subsets.
DECLARE_INTERFACE_(ID3DXBaseMesh, IUnknown)
{
    // Draws the faces of one subset with the mesh's device: it sets the mesh's FVF, vertex
    // stream 0 and indices and issues one indexed triangle list. The device's other state
    // (transforms, material, textures, an effect pass) is the caller's. A subset with no faces
    // draws nothing; the call still succeeds.
    STDMETHOD(DrawSubset)(THIS_ DWORD AttribId) PURE;
    STDMETHOD_(DWORD, GetNumFaces)(THIS) PURE;
    STDMETHOD_(DWORD, GetNumVertices)(THIS) PURE;
    STDMETHOD_(DWORD, GetFVF)(THIS) PURE;
    STDMETHOD_(DWORD, GetNumBytesPerVertex)(THIS) PURE;
    STDMETHOD_(DWORD, GetOptions)(THIS) PURE;
    STDMETHOD(GetDevice)(THIS_ IDirect3DDevice9** ppDevice) PURE;
    STDMETHOD(GetVertexBuffer)(THIS_ IDirect3DVertexBuffer9** ppVB) PURE;
    STDMETHOD(GetIndexBuffer)(THIS_ IDirect3DIndexBuffer9** ppIB) PURE;
    STDMETHOD(LockVertexBuffer)(THIS_ DWORD Flags, LPVOID* ppData) PURE;
    STDMETHOD(UnlockVertexBuffer)(THIS) PURE;
    STDMETHOD(LockIndexBuffer)(THIS_ DWORD Flags, LPVOID* ppData) PURE;
    STDMETHOD(UnlockIndexBuffer)(THIS) PURE;
    // With pAttribTable null, only the number of entries is written to *pAttribTableSize.
    STDMETHOD(GetAttributeTable)(THIS_ D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) PURE;
};

DECLARE_INTERFACE_(ID3DXMesh, ID3DXBaseMesh)
{
    // One DWORD per face: its attribute (subset) id.
    STDMETHOD(LockAttributeBuffer)(THIS_ DWORD Flags, DWORD** ppData) PURE;
    STDMETHOD(UnlockAttributeBuffer)(THIS) PURE;
};

#endif  // __cplusplus

// Loads a mesh file (DirectX .x in text, binary or compressed form; other formats the importer
// knows load the same way) into one mesh: every mesh of the file, with the frame transforms
// above it applied, the file's own coordinates and texture coordinates, polygons fanned into
// triangles, faces grouped by material with one subset per material in file order.
// Options are D3DXMESH_* flags. ppMaterials receives a buffer of *pNumMaterials D3DXMATERIAL
// (one default material when the file has none); ppAdjacency three DWORDs per face (0xFFFFFFFF
// where a face edge has no neighbour); ppEffectInstances one D3DXEFFECTINSTANCE per material.
// Any of the optional outputs may be null. On failure nothing is created and the outputs are
// left as they were: D3DERR_INVALIDCALL for null required arguments, D3DXERR_INVALIDDATA for a
// missing, empty or malformed file (face indices past the vertices included).
HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  ID3DXBuffer** ppAdjacency, ID3DXBuffer** ppMaterials,
                                  ID3DXBuffer** ppEffectInstances, DWORD* pNumMaterials, ID3DXMesh** ppMesh);
// The same from a file image in memory.
HRESULT WINAPI D3DXLoadMeshFromXInMemory(LPCVOID Memory, DWORD SizeOfMemory, DWORD Options,
                                         IDirect3DDevice9* pD3DDevice, ID3DXBuffer** ppAdjacency,
                                         ID3DXBuffer** ppMaterials, ID3DXBuffer** ppEffectInstances,
                                         DWORD* pNumMaterials, ID3DXMesh** ppMesh);

// The same with a WCHAR file name (converted to UTF-8, the file system's encoding). The
// materials' texture names stay narrow, as D3DXMATERIAL has them.
HRESULT WINAPI D3DXLoadMeshFromXW(LPCWSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  ID3DXBuffer** ppAdjacency, ID3DXBuffer** ppMaterials,
                                  ID3DXBuffer** ppEffectInstances, DWORD* pNumMaterials, ID3DXMesh** ppMesh);

#ifdef UNICODE
#define D3DXLoadMeshFromX D3DXLoadMeshFromXW
#else
#define D3DXLoadMeshFromX D3DXLoadMeshFromXA
#endif

// The smallest box holding NumVertices positions, the first at pFirstPosition and each next one
// dwStride bytes further. D3DERR_INVALIDCALL for null pointers or a stride shorter than a
// position; no vertices give a box of (0, 0, 0) to (0, 0, 0).
HRESULT WINAPI D3DXComputeBoundingBox(CONST D3DXVECTOR3* pFirstPosition, DWORD NumVertices, DWORD dwStride,
                                      D3DXVECTOR3* pMin, D3DXVECTOR3* pMax);
