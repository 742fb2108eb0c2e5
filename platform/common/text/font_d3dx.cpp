#include "common/text/font_d3dx.h"

#include "common/text/font_device_state.h"


Font_D3dx* Font_D3dx::create(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc) {
    std::unique_ptr<Glyph_Face> face = open_face(desc);
    if (!face) return nullptr;
    return new Font_D3dx(device, desc, std::move(face));
}

Font_D3dx::~Font_D3dx() { OnLostDevice(); }

HRESULT STDMETHODCALLTYPE Font_D3dx::OnLostDevice() {
    for (IDirect3DTexture9* page : pages)
        if (page) page->Release();
    pages.clear();
    cache.atlas().mark_all_changed();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE Font_D3dx::OnResetDevice() { return D3D_OK; }

namespace {

bool copy_rows(IDirect3DTexture9* texture, const uint8_t* coverage, int size, int top, int bottom) {
    RECT rows = {0, top, size, bottom};
    D3DLOCKED_RECT locked;
    if (FAILED(texture->LockRect(0, &locked, &rows, 0))) return false;
    for (int y = top; y < bottom; ++y) {
        const uint8_t* src = coverage + static_cast<size_t>(y) * size;
        DWORD* dst = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + static_cast<ptrdiff_t>(y - top) * locked.Pitch);
        for (int x = 0; x < size; ++x) dst[x] = (static_cast<DWORD>(src[x]) << 24) | 0x00FFFFFFu;
    }
    texture->UnlockRect(0);
    return true;
}

}  // namespace

// Copies the rows of each page that gained glyphs since the last draw into its texture.
bool Font_D3dx::upload_pages() {
    Glyph_Atlas& atlas = cache.atlas();
    const int size = atlas.page_size();
    for (int page = 0; page < atlas.page_count(); ++page) {
        int top = 0, bottom = 0;
        bool changed = atlas.take_changed_rows(page, top, bottom);
        if (page == static_cast<int>(pages.size())) {
            IDirect3DTexture9* texture = nullptr;
            if (FAILED(device->CreateTexture(size, size, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr))) {
                atlas.mark_all_changed();
                return false;
            }
            pages.push_back(texture);
            // A new texture's contents are undefined: fill all of it.
            top = 0;
            bottom = size;
            changed = true;
        }
        if (changed && !copy_rows(pages[page], atlas.page_pixels(page), size, top, bottom)) {
            atlas.mark_all_changed();
            return false;
        }
    }
    return true;
}

void Font_D3dx::draw_quads(D3DCOLOR colour) {
    const float scale = 1.0f / static_cast<float>(cache.atlas().page_size());
    for (int page = 0; page < static_cast<int>(pages.size()); ++page) {
        vertices.clear();
        for (const Font_Quad& q : layout.quads()) {
            if (q.page != page) continue;
            // Pixel centres sit on integer coordinates: the quad's edges go half a pixel before.
            float x0 = static_cast<float>(q.x) - 0.5f, y0 = static_cast<float>(q.y) - 0.5f;
            float x1 = x0 + static_cast<float>(q.width), y1 = y0 + static_cast<float>(q.height);
            float u0 = static_cast<float>(q.src_x) * scale, v0 = static_cast<float>(q.src_y) * scale;
            float u1 = static_cast<float>(q.src_x + q.width) * scale, v1 = static_cast<float>(q.src_y + q.height) * scale;
            const Vertex corners[4] = {{x0, y0, 0, 1, colour, u0, v0}, {x1, y0, 0, 1, colour, u1, v0},
                                       {x0, y1, 0, 1, colour, u0, v1}, {x1, y1, 0, 1, colour, u1, v1}};
            for (int i : {0, 1, 2, 2, 1, 3}) vertices.push_back(corners[i]);
        }
        if (vertices.empty()) continue;
        device->SetTexture(0, pages[page]);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(vertices.size() / 3), vertices.data(),
                                sizeof(Vertex));
    }
}

INT STDMETHODCALLTYPE Font_D3dx::DrawTextA(LPD3DXSPRITE, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                                          D3DCOLOR Color) {
    bool draw = false;
    int height = lay_out(pString, Count, pRect, Format, draw);
    if (!draw) return height;
    if (!upload_pages()) return 0;
    Font_Device_State state(device);
    draw_quads(Color);
    return height;
}
