// Mesh files as D3DXLoadMeshFromX* reads them (text, binary and compressed .x through the
// importer), then the adjacency D3DX can hand back.
#include "common/mesh/mesh_import.h"

#include <stddef.h>
#include <stdint.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Mesh_Data mesh;
    if (SUCCEEDED(import_mesh_memory(data, size, "x", &mesh))) mesh_adjacency(mesh);
    return 0;
}
