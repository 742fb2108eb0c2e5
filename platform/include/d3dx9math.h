#pragma once
// D3DX 9 math: vectors, matrices and colours, and the helper functions on them.
//
// Conventions, as the SDK has them: row vectors (v' = v x M), matrices stored row-major
// (_12 is row 1, column 2), a left-handed world. Every function writes its result to pOut and
// returns pOut; pOut may be the same object as an input. The functions are realised in
// platform/common (d3dx_math*.cpp) and behave the same on the native and headless platforms.
#include <math.h>

#include <d3d9.h>
#include "d3d9types.h"

#define D3DX_PI ((FLOAT)3.141592654f)
#define D3DX_1BYPI ((FLOAT)0.318309886f)
#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

#ifdef __cplusplus

struct D3DXVECTOR2 {
    D3DXVECTOR2() {}
    D3DXVECTOR2(CONST FLOAT* pf);
    D3DXVECTOR2(FLOAT fx, FLOAT fy);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXVECTOR2& operator+=(CONST D3DXVECTOR2& v);
    D3DXVECTOR2& operator-=(CONST D3DXVECTOR2& v);
    D3DXVECTOR2& operator*=(FLOAT f);
    D3DXVECTOR2& operator/=(FLOAT f);

    D3DXVECTOR2 operator+() const;
    D3DXVECTOR2 operator-() const;

    D3DXVECTOR2 operator+(CONST D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator-(CONST D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator*(FLOAT f) const;
    D3DXVECTOR2 operator/(FLOAT f) const;
    friend D3DXVECTOR2 operator*(FLOAT f, CONST D3DXVECTOR2& v);

    BOOL operator==(CONST D3DXVECTOR2& v) const;
    BOOL operator!=(CONST D3DXVECTOR2& v) const;

    FLOAT x, y;
};
typedef D3DXVECTOR2* LPD3DXVECTOR2;

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() {}
    D3DXVECTOR3(CONST FLOAT* pf);
    D3DXVECTOR3(CONST D3DVECTOR& v);
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXVECTOR3& operator+=(CONST D3DXVECTOR3& v);
    D3DXVECTOR3& operator-=(CONST D3DXVECTOR3& v);
    D3DXVECTOR3& operator*=(FLOAT f);
    D3DXVECTOR3& operator/=(FLOAT f);

    D3DXVECTOR3 operator+() const;
    D3DXVECTOR3 operator-() const;

    D3DXVECTOR3 operator+(CONST D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator-(CONST D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator*(FLOAT f) const;
    D3DXVECTOR3 operator/(FLOAT f) const;
    friend D3DXVECTOR3 operator*(FLOAT f, CONST D3DXVECTOR3& v);

    BOOL operator==(CONST D3DXVECTOR3& v) const;
    BOOL operator!=(CONST D3DXVECTOR3& v) const;
};
typedef D3DXVECTOR3* LPD3DXVECTOR3;

struct D3DXVECTOR4 {
    D3DXVECTOR4() {}
    D3DXVECTOR4(CONST FLOAT* pf);
    D3DXVECTOR4(CONST D3DVECTOR& xyz, FLOAT fw);
    D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXVECTOR4& operator+=(CONST D3DXVECTOR4& v);
    D3DXVECTOR4& operator-=(CONST D3DXVECTOR4& v);
    D3DXVECTOR4& operator*=(FLOAT f);
    D3DXVECTOR4& operator/=(FLOAT f);

    D3DXVECTOR4 operator+() const;
    D3DXVECTOR4 operator-() const;

    D3DXVECTOR4 operator+(CONST D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator-(CONST D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator*(FLOAT f) const;
    D3DXVECTOR4 operator/(FLOAT f) const;
    friend D3DXVECTOR4 operator*(FLOAT f, CONST D3DXVECTOR4& v);

    BOOL operator==(CONST D3DXVECTOR4& v) const;
    BOOL operator!=(CONST D3DXVECTOR4& v) const;

    FLOAT x, y, z, w;
};
typedef D3DXVECTOR4* LPD3DXVECTOR4;

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() {}
    D3DXMATRIX(CONST FLOAT* pf);
    D3DXMATRIX(CONST D3DMATRIX& mat);
    D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14,
               FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
               FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
               FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44);

    FLOAT& operator()(UINT row, UINT col);
    FLOAT operator()(UINT row, UINT col) const;

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXMATRIX& operator*=(CONST D3DXMATRIX& mat);
    D3DXMATRIX& operator+=(CONST D3DXMATRIX& mat);
    D3DXMATRIX& operator-=(CONST D3DXMATRIX& mat);
    D3DXMATRIX& operator*=(FLOAT f);
    D3DXMATRIX& operator/=(FLOAT f);

    D3DXMATRIX operator+() const;
    D3DXMATRIX operator-() const;

    D3DXMATRIX operator*(CONST D3DXMATRIX& mat) const;
    D3DXMATRIX operator+(CONST D3DXMATRIX& mat) const;
    D3DXMATRIX operator-(CONST D3DXMATRIX& mat) const;
    D3DXMATRIX operator*(FLOAT f) const;
    D3DXMATRIX operator/(FLOAT f) const;
    friend D3DXMATRIX operator*(FLOAT f, CONST D3DXMATRIX& mat);

    BOOL operator==(CONST D3DXMATRIX& mat) const;
    BOOL operator!=(CONST D3DXMATRIX& mat) const;
};
typedef D3DXMATRIX* LPD3DXMATRIX;

// A matrix on a 16-byte boundary, on the stack and from new alike (for SIMD code); otherwise a
// D3DXMATRIX, which it converts to and from.
struct alignas(16) D3DXMATRIXA16 : public D3DXMATRIX {
    D3DXMATRIXA16() {}
    D3DXMATRIXA16(CONST FLOAT* pf) : D3DXMATRIX(pf) {}
    D3DXMATRIXA16(CONST D3DMATRIX& mat) : D3DXMATRIX(mat) {}
    D3DXMATRIXA16(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
                  FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44)
        : D3DXMATRIX(f11, f12, f13, f14, f21, f22, f23, f24, f31, f32, f33, f34, f41, f42, f43, f44) {}
    D3DXMATRIXA16& operator=(CONST D3DXMATRIX& mat) {
        D3DXMATRIX::operator=(mat);
        return *this;
    }
};
typedef D3DXMATRIXA16* LPD3DXMATRIXA16;

struct D3DXQUATERNION {
    D3DXQUATERNION() {}
    D3DXQUATERNION(CONST FLOAT* pf);
    D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    BOOL operator==(CONST D3DXQUATERNION& q) const;
    BOOL operator!=(CONST D3DXQUATERNION& q) const;

    FLOAT x, y, z, w;
};
typedef D3DXQUATERNION* LPD3DXQUATERNION;

// A colour as four floats, red first. Converts to and from a D3DCOLOR (0xAARRGGBB); the
// conversion to D3DCOLOR clamps each channel to [0, 1] and rounds to the nearest step.
struct D3DXCOLOR {
    D3DXCOLOR() {}
    D3DXCOLOR(DWORD argb);
    D3DXCOLOR(CONST FLOAT* pf);
    D3DXCOLOR(CONST D3DCOLORVALUE& c);
    D3DXCOLOR(FLOAT fr, FLOAT fg, FLOAT fb, FLOAT fa);

    operator DWORD() const;
    operator FLOAT*();
    operator CONST FLOAT*() const;
    operator D3DCOLORVALUE*();
    operator CONST D3DCOLORVALUE*() const;
    operator D3DCOLORVALUE&();
    operator CONST D3DCOLORVALUE&() const;

    D3DXCOLOR& operator+=(CONST D3DXCOLOR& c);
    D3DXCOLOR& operator-=(CONST D3DXCOLOR& c);
    D3DXCOLOR& operator*=(FLOAT f);
    D3DXCOLOR& operator/=(FLOAT f);

    D3DXCOLOR operator+() const;
    D3DXCOLOR operator-() const;

    D3DXCOLOR operator+(CONST D3DXCOLOR& c) const;
    D3DXCOLOR operator-(CONST D3DXCOLOR& c) const;
    D3DXCOLOR operator*(FLOAT f) const;
    D3DXCOLOR operator/(FLOAT f) const;
    friend D3DXCOLOR operator*(FLOAT f, CONST D3DXCOLOR& c);

    BOOL operator==(CONST D3DXCOLOR& c) const;
    BOOL operator!=(CONST D3DXCOLOR& c) const;

    FLOAT r, g, b, a;
};
typedef D3DXCOLOR* LPD3DXCOLOR;

#endif  // __cplusplus

// ---- 3D vectors ----
FLOAT WINAPI D3DXVec3Length(CONST D3DXVECTOR3* pV);
FLOAT WINAPI D3DXVec3LengthSq(CONST D3DXVECTOR3* pV);
FLOAT WINAPI D3DXVec3Dot(CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Cross(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Add(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Subtract(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Scale(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, FLOAT s);
D3DXVECTOR3* WINAPI D3DXVec3Lerp(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2, FLOAT s);
D3DXVECTOR3* WINAPI D3DXVec3Minimize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Maximize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2);
// The zero vector normalises to the zero vector.
D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV);
// (x, y, z, 1) x M.
D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);
// (x, y, z, 1) x M, divided by the resulting w.
D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);
// (x, y, z, 0) x M: a direction, untouched by translation.
D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);

// ---- 4D vectors ----
FLOAT WINAPI D3DXVec4Length(CONST D3DXVECTOR4* pV);
FLOAT WINAPI D3DXVec4Dot(CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2);
D3DXVECTOR4* WINAPI D3DXVec4Normalize(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV);
D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV, CONST D3DXMATRIX* pM);

// ---- Matrices ----
D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut);
BOOL WINAPI D3DXMatrixIsIdentity(CONST D3DXMATRIX* pM);
FLOAT WINAPI D3DXMatrixDeterminant(CONST D3DXMATRIX* pM);
// pM1 x pM2: with row vectors, pM1 applies first.
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1, CONST D3DXMATRIX* pM2);
D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM);
// Null (pOut untouched) when the matrix cannot be inverted; pDeterminant may be null.
D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, CONST D3DXMATRIX* pM);
D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
// Angles in radians, clockwise when looking along the axis towards the origin (left-handed).
D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle);
// The axis need not be normalised; a zero axis gives the identity.
D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pV, FLOAT Angle);
// Roll about z, then pitch about x, then yaw about y.
D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll);
D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf);
