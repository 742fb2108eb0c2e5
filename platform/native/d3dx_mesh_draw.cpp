// Native meshes draw through their device.
#include "common/d3dx_mesh.h"

HRESULT d3dx_mesh_draw_subset(D3dx_Mesh& mesh, DWORD attrib) { return mesh.draw_through_device(attrib); }
