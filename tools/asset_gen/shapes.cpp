// Shapes as vertex grids; orient() turns every face to agree with its vertices' normals.
#include "shapes.h"

#include <algorithm>
#include <math.h>

namespace {

const float Pi = 3.14159265358979f;

void add_vertex(X_Mesh& m, X_Vec3 p, X_Vec3 n, float u, float v)
{
    m.positions.push_back(p);
    m.normals.push_back(n);
    m.uvs.push_back(u);
    m.uvs.push_back(v);
}

// Reverses each face whose winding disagrees with its normals, so that cross(b - a, c - a)
// points outward: clockwise seen from outside in a left-handed world.
void orient(X_Mesh& m)
{
    for (std::vector<uint32_t>& f : m.faces) {
        const X_Vec3 a = m.positions[f[0]], b = m.positions[f[1]], c = m.positions[f[2]];
        const X_Vec3 e1 = {b.x - a.x, b.y - a.y, b.z - a.z}, e2 = {c.x - a.x, c.y - a.y, c.z - a.z};
        const X_Vec3 n = {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
        X_Vec3 sum = {0, 0, 0};
        for (uint32_t i : f) sum.x += m.normals[i].x, sum.y += m.normals[i].y, sum.z += m.normals[i].z;
        if (n.x * sum.x + n.y * sum.y + n.z * sum.z < 0) std::reverse(f.begin() + 1, f.end());
    }
}

void one_material(X_Mesh& m, const X_Material& material)
{
    m.materials = {material};
    m.face_materials.assign(m.faces.size(), 0);
}

// Quads over a (cols + 1) x (rows + 1) vertex grid starting at `first`.
void grid_faces(X_Mesh& m, uint32_t first, int cols, int rows)
{
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const uint32_t i = first + r * (cols + 1) + c;
            m.faces.push_back({i, i + (uint32_t)cols + 1, i + (uint32_t)cols + 2, i + 1});
        }
}

}  // namespace

X_Mesh make_floor(float size, int cells, float repeat, const X_Material& material)
{
    X_Mesh m;
    m.name = "floor";
    for (int r = 0; r <= cells; ++r)
        for (int c = 0; c <= cells; ++c) {
            const float s = (float)c / cells, t = (float)r / cells;
            add_vertex(m, {-size / 2 + s * size, 0, size / 2 - t * size}, {0, 1, 0}, s * repeat, t * repeat);
        }
    grid_faces(m, 0, cells, cells);
    orient(m);
    one_material(m, material);
    return m;
}

X_Mesh make_cube(float edge, const X_Material& material)
{
    X_Mesh m;
    m.name = "cube";
    const float h = edge / 2;
    // For each face: its normal and the two axes spanning it.
    const X_Vec3 normals[6] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    const X_Vec3 us[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, -1}, {0, 0, 1}, {1, 0, 0}, {1, 0, 0}};
    const X_Vec3 vs[6] = {{0, -1, 0}, {0, -1, 0}, {0, -1, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int f = 0; f < 6; ++f) {
        const uint32_t first = (uint32_t)m.positions.size();
        for (int k = 0; k < 4; ++k) {
            const float su = (k == 1 || k == 2) ? 1.0f : -1.0f, sv = (k >= 2) ? 1.0f : -1.0f;
            const X_Vec3 n = normals[f], u = us[f], v = vs[f];
            add_vertex(m, {(n.x + su * u.x + sv * v.x) * h, (n.y + su * u.y + sv * v.y) * h, (n.z + su * u.z + sv * v.z) * h},
                       n, (su + 1) / 2, (sv + 1) / 2);
        }
        m.faces.push_back({first, first + 1, first + 2, first + 3});
    }
    orient(m);
    one_material(m, material);
    return m;
}

X_Mesh make_sphere(float radius, int slices, int stacks, const X_Material& material)
{
    X_Mesh m;
    m.name = "sphere";
    for (int r = 0; r <= stacks; ++r)
        for (int c = 0; c <= slices; ++c) {
            const float theta = Pi * r / stacks, phi = 2 * Pi * c / slices;
            const X_Vec3 n = {sinf(theta) * cosf(phi), cosf(theta), sinf(theta) * sinf(phi)};
            add_vertex(m, {n.x * radius, n.y * radius, n.z * radius}, n, (float)c / slices, (float)r / stacks);
        }
    for (int r = 0; r < stacks; ++r)
        for (int c = 0; c < slices; ++c) {
            const uint32_t i = r * (slices + 1) + c, below = i + slices + 1;
            if (r == 0)
                m.faces.push_back({i, below, below + 1});
            else if (r == stacks - 1)
                m.faces.push_back({i, below, i + 1});
            else
                m.faces.push_back({i, below, below + 1, i + 1});
        }
    orient(m);
    one_material(m, material);
    return m;
}

X_Mesh make_torus(float ring_radius, float tube_radius, int segments, int sides, const X_Material& material)
{
    X_Mesh m;
    m.name = "torus";
    for (int s = 0; s <= segments; ++s)
        for (int k = 0; k <= sides; ++k) {
            const float a = 2 * Pi * s / segments, b = 2 * Pi * k / sides;
            const X_Vec3 n = {cosf(b) * cosf(a), sinf(b), cosf(b) * sinf(a)};
            const float ring = ring_radius + tube_radius * cosf(b);
            add_vertex(m, {ring * cosf(a), tube_radius * sinf(b), ring * sinf(a)}, n, (float)s / segments * 4,
                       (float)k / sides);
        }
    grid_faces(m, 0, sides, segments);
    orient(m);
    one_material(m, material);
    return m;
}

X_Mesh make_column(float radius, float height, int segments, const X_Material& shaft, const X_Material& caps)
{
    X_Mesh m;
    m.name = "column";
    for (int r = 0; r <= 1; ++r)
        for (int c = 0; c <= segments; ++c) {
            const float a = 2 * Pi * c / segments;
            add_vertex(m, {radius * cosf(a), height * (1 - r), radius * sinf(a)}, {cosf(a), 0, sinf(a)},
                       (float)c / segments, (float)r);
        }
    grid_faces(m, 0, segments, 1);
    for (int cap = 0; cap < 2; ++cap) {
        const float y = cap == 0 ? height : 0;
        const uint32_t first = (uint32_t)m.positions.size();
        std::vector<uint32_t> face;
        for (int c = 0; c < segments; ++c) {
            const float a = 2 * Pi * c / segments;
            add_vertex(m, {radius * cosf(a), y, radius * sinf(a)}, {0, cap == 0 ? 1.0f : -1.0f, 0},
                       0.5f + 0.5f * cosf(a), 0.5f + 0.5f * sinf(a));
            face.push_back(first + c);
        }
        m.faces.push_back(face);
    }
    orient(m);
    m.materials = {shaft, caps};
    m.face_materials.assign(m.faces.size(), 0);
    m.face_materials[m.faces.size() - 1] = m.face_materials[m.faces.size() - 2] = 1;
    return m;
}
