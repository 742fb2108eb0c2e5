// Loading a 1,000,000-triangle .x mesh (text, binary, and both compressed): D3DXLoadMeshFromXA on the headless
// device against Assimp alone reading the same file with the same import flags, in one run.
// The files are written at start-up into a temporary folder and removed at the end.
#include <benchmark/benchmark.h>

#include <d3dx9.h>

#include "headless_win32.h"
#include "tools/asset_gen/x_writer.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace {

// A 1000 x 500 grid of quads, each written as two triangles: 1,000,000 faces, 501,501 vertices.
X_File big_grid()
{
    const int cols = 1000, rows = 500;
    X_Mesh m;
    m.name = "grid";
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) {
            m.positions.push_back({(float)c, 0.01f * (float)((r * 7 + c * 3) % 11), (float)-r});
            m.normals.push_back({0, 1, 0});
            m.uvs.push_back((float)c / cols);
            m.uvs.push_back((float)r / rows);
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const uint32_t i = (uint32_t)(r * (cols + 1) + c), below = i + cols + 1;
            m.faces.push_back({i, below, below + 1});
            m.faces.push_back({i, below + 1, i + 1});
        }
    X_Material plain;
    plain.diffuse[0] = plain.diffuse[1] = plain.diffuse[2] = plain.diffuse[3] = 1;
    plain.power = 0;
    plain.specular[0] = plain.specular[1] = plain.specular[2] = 0;
    plain.emissive[0] = plain.emissive[1] = plain.emissive[2] = 0;
    plain.texture = "grid.bmp";
    m.materials = {plain};
    m.face_materials.assign(m.faces.size(), 0);
    X_File f;
    f.meshes.push_back(m);
    return f;
}

struct Files {
    std::string dir, text, binary, text_compressed, binary_compressed;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;

    Files()
    {
        char pattern[] = "/tmp/orvex_mesh_bench_XXXXXX";
        dir = mkdtemp(pattern);
        text = dir + "/grid_text.x";
        binary = dir + "/grid_binary.x";
        const X_File grid = big_grid();
        text_compressed = dir + "/grid_tzip.x";
        binary_compressed = dir + "/grid_bzip.x";
        const std::string plain_text = write_x_text(grid), plain_binary = write_x_binary(grid);
        write(text, plain_text);
        write(binary, plain_binary);
        write(text_compressed, compress_x(plain_text));
        write(binary_compressed, compress_x(plain_binary));

        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "MeshBench";
        RegisterClassExA(&wc);
        HWND window = CreateWindowExA(0, "MeshBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 656, 519, nullptr, nullptr,
                                      nullptr, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Windowed = TRUE;
        if (!d3d || FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                             D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device)))
            abort();
    }
    ~Files()
    {
        if (device) device->Release();
        if (d3d) d3d->Release();
        unlink(text.c_str());
        unlink(binary.c_str());
        unlink(text_compressed.c_str());
        unlink(binary_compressed.c_str());
        rmdir(dir.c_str());
    }
    static void write(const std::string& path, const std::string& bytes)
    {
        FILE* f = fopen(path.c_str(), "wb");
        if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) abort();
        fclose(f);
    }
};

Files& files()
{
    static Files f;
    return f;
}

// 0 text, 1 binary, 2 compressed text, 3 compressed binary.
const std::string& path_of(int64_t kind)
{
    const std::string* paths[] = {&files().text, &files().binary, &files().text_compressed, &files().binary_compressed};
    return *paths[kind];
}
const char* label_of(int64_t kind)
{
    const char* labels[] = {"text", "binary", "compressed text", "compressed binary"};
    return labels[kind];
}

void BM_D3DXLoadMeshFromXA(benchmark::State& state)
{
    const std::string& path = path_of(state.range(0));
    for (auto _ : state) {
        ID3DXMesh* mesh = nullptr;
        ID3DXBuffer* materials = nullptr;
        DWORD count = 0;
        if (FAILED(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, files().device, nullptr, &materials, nullptr,
                                      &count, &mesh))) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(mesh->GetNumFaces());
        materials->Release();
        mesh->Release();
    }
    state.SetLabel(label_of(state.range(0)));
}

void BM_AssimpAlone(benchmark::State& state)
{
    const std::string& path = path_of(state.range(0));
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFile(path, aiProcess_ConvertToLeftHanded | aiProcess_JoinIdenticalVertices);
        if (!scene) {
            state.SkipWithError("import failed");
            break;
        }
        benchmark::DoNotOptimize(scene->mNumMeshes);
    }
    state.SetLabel(label_of(state.range(0)));
}

}  // namespace

BENCHMARK(BM_D3DXLoadMeshFromXA)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AssimpAlone)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
