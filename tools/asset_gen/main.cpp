// The asset generator: writes the meshes, textures and cursor that the default level and the
// tests use, byte for byte the same on every run.
//
//   orvex_asset_gen --out DIR              writes DIR/data/... and DIR/tests/data/...
//   orvex_asset_gen --out DIR --compare SRC   also compares each file with SRC's copy and
//                                          fails listing every file that differs
#include "image_writer.h"
#include "shapes.h"
#include "textures.h"
#include "x_writer.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <string>
#include <vector>

namespace {

struct Asset {
    std::string path;  // relative to the checkout
    std::string bytes;
};

X_Material material(const char* name, float r, float g, float b, float a, float power, const char* texture)
{
    X_Material m;
    m.name = name;
    m.diffuse[0] = r, m.diffuse[1] = g, m.diffuse[2] = b, m.diffuse[3] = a;
    m.power = power;
    m.specular[0] = m.specular[1] = m.specular[2] = power > 0 ? 0.5f : 0.0f;
    m.emissive[0] = m.emissive[1] = m.emissive[2] = 0.0f;
    m.texture = texture;
    return m;
}

X_File file_of(X_Mesh mesh)
{
    X_File f;
    f.meshes.push_back(std::move(mesh));
    return f;
}

void identity(float* m)
{
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

// Two frames, one inside the other, each with a mesh; the inner one scales by 2 and both move.
X_File framed_scene()
{
    X_File file;
    file.materials.push_back(material("Stone", 0.6f, 0.6f, 0.55f, 1.0f, 8.0f, "brick.bmp"));
    X_Material stone_ref = file.materials[0];
    stone_ref.by_reference = true;

    X_Frame outer;
    outer.name = "Base";
    identity(outer.transform);
    outer.transform[12] = 0, outer.transform[13] = 0, outer.transform[14] = 100;
    outer.meshes.push_back(make_cube(20, stone_ref));

    X_Frame inner;
    inner.name = "Top";
    identity(inner.transform);
    inner.transform[0] = inner.transform[5] = inner.transform[10] = 2;
    inner.transform[13] = 50;
    X_Mesh tri;
    tri.name = "marker";
    tri.positions = {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}};
    tri.faces = {{0, 1, 2}};
    tri.materials = {material("", 1, 1, 0, 1, 0, "")};
    tri.face_materials = {0};
    inner.meshes.push_back(tri);
    outer.children.push_back(inner);
    file.frames.push_back(outer);
    return file;
}

std::vector<Asset> all_assets()
{
    std::vector<Asset> a;
    const std::string def = "data/textures/_def/";
    a.push_back({def + "white.bmp", write_bmp24(solid(8, 0xFFFFFFFF))});
    a.push_back({def + "red.bmp", write_bmp24(solid(8, 0xFFFF0000))});
    a.push_back({def + "Blue.bmp", write_bmp24(solid(8, 0xFF0000FF))});
    a.push_back({def + "yellow.bmp", write_bmp24(solid(8, 0xFFFFFF00))});
    a.push_back({def + "def.bmp", write_bmp_palettised(checker(64, 8, 0xFFFF00FF, 0xFF000000), 8,
                                                       {0xFFFF00FF, 0xFF000000})});
    a.push_back({"data/textures/floor_tile.bmp", write_bmp24(floor_tile(128, 4))});
    a.push_back({"data/textures/brick.bmp", write_bmp24(brick(128))});
    a.push_back({"data/textures/marble.bmp", write_bmp24(marble(128))});
    a.push_back({"data/textures/checker.bmp", write_bmp_palettised(checker(64, 8, 0xFFFFFFFF, 0xFF202020), 4,
                                                                   {0xFFFFFFFF, 0xFF202020})});

    const X_Material tile = material("", 1, 1, 1, 1, 0, "floor_tile.bmp");
    const X_Material checks = material("", 1, 1, 1, 1, 16, "checker.bmp");
    const X_Material stone = material("", 1, 1, 1, 1, 32, "marble.bmp");
    const X_Material bricks = material("", 1, 1, 1, 1, 4, "brick.bmp");
    const X_Material cap = material("", 0.8f, 0.78f, 0.7f, 1, 0, "");
    const X_Material stone_cap = material("", 1, 1, 1, 1, 0, "marble.bmp");
    a.push_back({"data/meshes/floor.x", write_x_text(file_of(make_floor(400, 8, 4, tile)))});
    a.push_back({"data/meshes/cube.x", write_x_text(file_of(make_cube(40, checks)))});
    a.push_back({"data/meshes/sphere.x", write_x_binary(file_of(make_sphere(20, 24, 16, stone)))});
    a.push_back({"data/meshes/torus.x", write_x_binary(file_of(make_torus(30, 8, 32, 12, bricks)))});
    a.push_back({"data/meshes/column.x", write_x_text(file_of(make_column(8, 80, 16, bricks, stone_cap)))});
    a.push_back({"data/mouse.cur", write_cur(arrow_cursor(32), 0, 0)});

    const X_File column = file_of(make_column(8, 80, 16, bricks, cap));
    a.push_back({"tests/data/meshes/column_text.x", write_x_text(column)});
    a.push_back({"tests/data/meshes/column_binary.x", write_x_binary(column)});
    a.push_back({"tests/data/meshes/frames.x", write_x_text(framed_scene())});
    a.push_back({"tests/data/meshes/frames_binary.x", write_x_binary(framed_scene())});
    a.push_back({"tests/data/meshes/frames_compressed.x", compress_x(write_x_text(framed_scene()))});
    a.push_back({"tests/data/meshes/column_compressed.x", compress_x(write_x_binary(column))});
    return a;
}

bool make_parents(const std::string& path)
{
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        const std::string dir = path.substr(0, at);
        if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool write_file(const std::string& path, const std::string& bytes)
{
    if (!make_parents(path)) return false;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool read_file(const std::string& path, std::string* bytes)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    bytes->clear();
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes->append(buf, n);
    fclose(f);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* out = nullptr;
    const char* compare = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--out") == 0) out = argv[i + 1];
        else if (strcmp(argv[i], "--compare") == 0) compare = argv[i + 1];
    }
    if (!out) {
        fprintf(stderr, "usage: %s --out DIR [--compare SOURCE_DIR]\n", argv[0]);
        return 2;
    }
    int failures = 0;
    for (const Asset& asset : all_assets()) {
        const std::string target = std::string(out) + "/" + asset.path;
        if (!write_file(target, asset.bytes)) {
            fprintf(stderr, "cannot write %s\n", target.c_str());
            ++failures;
            continue;
        }
        if (compare) {
            std::string committed;
            if (!read_file(std::string(compare) + "/" + asset.path, &committed)) {
                fprintf(stderr, "missing from the checkout: %s\n", asset.path.c_str());
                ++failures;
            } else if (committed != asset.bytes) {
                fprintf(stderr, "differs from the checkout: %s\n", asset.path.c_str());
                ++failures;
            }
        }
    }
    return failures ? 1 : 0;
}
