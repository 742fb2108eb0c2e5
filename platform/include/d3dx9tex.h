#pragma once
// D3DX 9 textures: creating a texture from an image file.
#include <d3d9.h>

// Filters for scaling an image and building its mip chain.
#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)
#define D3DX_FILTER_LINEAR (3 << 0)
#define D3DX_FILTER_TRIANGLE (4 << 0)
#define D3DX_FILTER_BOX (5 << 0)
#define D3DX_FILTER_MIRROR_U (1 << 16)
#define D3DX_FILTER_MIRROR_V (2 << 16)
#define D3DX_FILTER_MIRROR_W (4 << 16)
#define D3DX_FILTER_MIRROR (7 << 16)
#define D3DX_FILTER_DITHER (1 << 19)
#define D3DX_FILTER_DITHER_DIFFUSION (2 << 19)
#define D3DX_FILTER_SRGB_IN (1 << 21)
#define D3DX_FILTER_SRGB_OUT (2 << 21)
#define D3DX_FILTER_SRGB (3 << 21)
#define D3DX_SKIP_DDS_MIP_LEVELS_MASK 0x1F
#define D3DX_SKIP_DDS_MIP_LEVELS_SHIFT 26

typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_HDR = 7,
    D3DXIFF_PFM = 8,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

struct IDirect3DDevice9;
struct IDirect3DTexture9;

// Reads a BMP, PNG, JPEG, TGA or DDS image (the path goes through the platform's path resolver)
// and creates a texture on the device: the image's size, a full mip chain (a DDS file's own
// levels when it has them), 32-bit A8R8G8B8 pixels (X8R8G8B8 for an image without alpha; DXT
// files keep their compressed format), managed pool. *ppTexture is set only on success.
// Errors: D3DERR_INVALIDCALL for null arguments; D3DXERR_INVALIDDATA for a missing, truncated,
// corrupt or unsupported file or one that claims more pixels than it holds or than a texture may
// have; whatever CreateTexture or LockRect of the device answered.
HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile,
                                          IDirect3DTexture9** ppTexture);
// The same from an image already in memory.
HRESULT WINAPI D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                                 IDirect3DTexture9** ppTexture);

// The same with a WCHAR file name (converted to UTF-8, the file system's encoding).
HRESULT WINAPI D3DXCreateTextureFromFileW(IDirect3DDevice9* pDevice, LPCWSTR pSrcFile,
                                          IDirect3DTexture9** ppTexture);

#ifdef UNICODE
#define D3DXCreateTextureFromFile D3DXCreateTextureFromFileW
#else
#define D3DXCreateTextureFromFile D3DXCreateTextureFromFileA
#endif

struct IDirect3DSurface9;

// Writes the pixels of pSrcSurface (all of it when pSrcRect is null) to the file pDestFile
// (the path goes through the platform's path resolver; an existing file is replaced only once
// the new one is complete). Formats: D3DXIFF_BMP (24-bit), D3DXIFF_PNG, D3DXIFF_TGA and
// D3DXIFF_JPG; alpha is not written. pSrcPalette is ignored (no palettized surfaces here).
// Errors: D3DERR_INVALIDCALL for null arguments, another file format, a surface format other
// than D3DFMT_X8R8G8B8 / D3DFMT_A8R8G8B8, or a rectangle outside the surface; whatever LockRect
// answered; E_FAIL when the file cannot be written.
HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                      IDirect3DSurface9* pSrcSurface, CONST PALETTEENTRY* pSrcPalette,
                                      CONST RECT* pSrcRect);

#ifndef UNICODE
#define D3DXSaveSurfaceToFile D3DXSaveSurfaceToFileA
#endif
