#pragma once
// The generator's meshes, built from code. Every face is wound clockwise as seen from outside
// (Direct3D's front faces), with outward normals and texture coordinates (v down).
#include "x_mesh.h"

// A square floor of size x size in the y = 0 plane, centred on the origin, cells x cells quads,
// the texture repeated `repeat` times across.
X_Mesh make_floor(float size, int cells, float repeat, const X_Material& material);
// A cube of the given edge centred on the origin: 24 vertices, 6 quads.
X_Mesh make_cube(float edge, const X_Material& material);
// A UV sphere: triangles at the poles, quads elsewhere.
X_Mesh make_sphere(float radius, int slices, int stacks, const X_Material& material);
// A torus about the y axis.
X_Mesh make_torus(float ring_radius, float tube_radius, int segments, int sides, const X_Material& material);
// A column standing on y = 0: a shaft of quads (material 0) and two caps that are single
// polygons of `segments` corners (material 1).
X_Mesh make_column(float radius, float height, int segments, const X_Material& shaft, const X_Material& caps);
