// Headless meshes record what is drawn and leave the device alone.
#include "call_log.h"
#include "common/d3dx_mesh.h"

HRESULT d3dx_mesh_draw_subset(D3dx_Mesh& mesh, DWORD attrib)
{
    orvex_headless::record_call("mesh " + mesh.name() + " DrawSubset(" + std::to_string(attrib) + ")");
    return D3D_OK;
}
