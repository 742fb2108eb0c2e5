// Constructors and operators of the D3DX vector, matrix, quaternion and colour types.
#include <d3dx9.h>

#include <string.h>

// ---- D3DXVECTOR2 ----
D3DXVECTOR2::D3DXVECTOR2(CONST FLOAT* pf) : x(pf[0]), y(pf[1]) {}
D3DXVECTOR2::D3DXVECTOR2(FLOAT fx, FLOAT fy) : x(fx), y(fy) {}
D3DXVECTOR2::operator FLOAT*() { return &x; }
D3DXVECTOR2::operator CONST FLOAT*() const { return &x; }
D3DXVECTOR2& D3DXVECTOR2::operator+=(CONST D3DXVECTOR2& v) { x += v.x; y += v.y; return *this; }
D3DXVECTOR2& D3DXVECTOR2::operator-=(CONST D3DXVECTOR2& v) { x -= v.x; y -= v.y; return *this; }
D3DXVECTOR2& D3DXVECTOR2::operator*=(FLOAT f) { x *= f; y *= f; return *this; }
D3DXVECTOR2& D3DXVECTOR2::operator/=(FLOAT f) { FLOAT r = 1.0f / f; x *= r; y *= r; return *this; }
D3DXVECTOR2 D3DXVECTOR2::operator+() const { return *this; }
D3DXVECTOR2 D3DXVECTOR2::operator-() const { return D3DXVECTOR2(-x, -y); }
D3DXVECTOR2 D3DXVECTOR2::operator+(CONST D3DXVECTOR2& v) const { return D3DXVECTOR2(x + v.x, y + v.y); }
D3DXVECTOR2 D3DXVECTOR2::operator-(CONST D3DXVECTOR2& v) const { return D3DXVECTOR2(x - v.x, y - v.y); }
D3DXVECTOR2 D3DXVECTOR2::operator*(FLOAT f) const { return D3DXVECTOR2(x * f, y * f); }
D3DXVECTOR2 D3DXVECTOR2::operator/(FLOAT f) const { FLOAT r = 1.0f / f; return D3DXVECTOR2(x * r, y * r); }
D3DXVECTOR2 operator*(FLOAT f, CONST D3DXVECTOR2& v) { return D3DXVECTOR2(f * v.x, f * v.y); }
BOOL D3DXVECTOR2::operator==(CONST D3DXVECTOR2& v) const { return x == v.x && y == v.y; }
BOOL D3DXVECTOR2::operator!=(CONST D3DXVECTOR2& v) const { return !(*this == v); }

// ---- D3DXVECTOR3 ----
D3DXVECTOR3::D3DXVECTOR3(CONST FLOAT* pf) { x = pf[0]; y = pf[1]; z = pf[2]; }
D3DXVECTOR3::D3DXVECTOR3(CONST D3DVECTOR& v) { x = v.x; y = v.y; z = v.z; }
D3DXVECTOR3::D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) { x = fx; y = fy; z = fz; }
D3DXVECTOR3::operator FLOAT*() { return &x; }
D3DXVECTOR3::operator CONST FLOAT*() const { return &x; }
D3DXVECTOR3& D3DXVECTOR3::operator+=(CONST D3DXVECTOR3& v) { x += v.x; y += v.y; z += v.z; return *this; }
D3DXVECTOR3& D3DXVECTOR3::operator-=(CONST D3DXVECTOR3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
D3DXVECTOR3& D3DXVECTOR3::operator*=(FLOAT f) { x *= f; y *= f; z *= f; return *this; }
D3DXVECTOR3& D3DXVECTOR3::operator/=(FLOAT f) { FLOAT r = 1.0f / f; x *= r; y *= r; z *= r; return *this; }
D3DXVECTOR3 D3DXVECTOR3::operator+() const { return *this; }
D3DXVECTOR3 D3DXVECTOR3::operator-() const { return D3DXVECTOR3(-x, -y, -z); }
D3DXVECTOR3 D3DXVECTOR3::operator+(CONST D3DXVECTOR3& v) const { return D3DXVECTOR3(x + v.x, y + v.y, z + v.z); }
D3DXVECTOR3 D3DXVECTOR3::operator-(CONST D3DXVECTOR3& v) const { return D3DXVECTOR3(x - v.x, y - v.y, z - v.z); }
D3DXVECTOR3 D3DXVECTOR3::operator*(FLOAT f) const { return D3DXVECTOR3(x * f, y * f, z * f); }
D3DXVECTOR3 D3DXVECTOR3::operator/(FLOAT f) const { FLOAT r = 1.0f / f; return D3DXVECTOR3(x * r, y * r, z * r); }
D3DXVECTOR3 operator*(FLOAT f, CONST D3DXVECTOR3& v) { return D3DXVECTOR3(f * v.x, f * v.y, f * v.z); }
BOOL D3DXVECTOR3::operator==(CONST D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
BOOL D3DXVECTOR3::operator!=(CONST D3DXVECTOR3& v) const { return !(*this == v); }

// ---- D3DXVECTOR4 ----
D3DXVECTOR4::D3DXVECTOR4(CONST FLOAT* pf) : x(pf[0]), y(pf[1]), z(pf[2]), w(pf[3]) {}
D3DXVECTOR4::D3DXVECTOR4(CONST D3DVECTOR& xyz, FLOAT fw) : x(xyz.x), y(xyz.y), z(xyz.z), w(fw) {}
D3DXVECTOR4::D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
D3DXVECTOR4::operator FLOAT*() { return &x; }
D3DXVECTOR4::operator CONST FLOAT*() const { return &x; }
D3DXVECTOR4& D3DXVECTOR4::operator+=(CONST D3DXVECTOR4& v) { x += v.x; y += v.y; z += v.z; w += v.w; return *this; }
D3DXVECTOR4& D3DXVECTOR4::operator-=(CONST D3DXVECTOR4& v) { x -= v.x; y -= v.y; z -= v.z; w -= v.w; return *this; }
D3DXVECTOR4& D3DXVECTOR4::operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
D3DXVECTOR4& D3DXVECTOR4::operator/=(FLOAT f) { FLOAT r = 1.0f / f; return *this *= r; }
D3DXVECTOR4 D3DXVECTOR4::operator+() const { return *this; }
D3DXVECTOR4 D3DXVECTOR4::operator-() const { return D3DXVECTOR4(-x, -y, -z, -w); }
D3DXVECTOR4 D3DXVECTOR4::operator+(CONST D3DXVECTOR4& v) const { return D3DXVECTOR4(x + v.x, y + v.y, z + v.z, w + v.w); }
D3DXVECTOR4 D3DXVECTOR4::operator-(CONST D3DXVECTOR4& v) const { return D3DXVECTOR4(x - v.x, y - v.y, z - v.z, w - v.w); }
D3DXVECTOR4 D3DXVECTOR4::operator*(FLOAT f) const { return D3DXVECTOR4(x * f, y * f, z * f, w * f); }
D3DXVECTOR4 D3DXVECTOR4::operator/(FLOAT f) const { FLOAT r = 1.0f / f; return *this * r; }
D3DXVECTOR4 operator*(FLOAT f, CONST D3DXVECTOR4& v) { return v * f; }
BOOL D3DXVECTOR4::operator==(CONST D3DXVECTOR4& v) const { return x == v.x && y == v.y && z == v.z && w == v.w; }
BOOL D3DXVECTOR4::operator!=(CONST D3DXVECTOR4& v) const { return !(*this == v); }

// ---- D3DXMATRIX ----
D3DXMATRIX::D3DXMATRIX(CONST FLOAT* pf) { memcpy(m, pf, sizeof(m)); }
D3DXMATRIX::D3DXMATRIX(CONST D3DMATRIX& mat) { memcpy(m, mat.m, sizeof(m)); }
D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14,
                       FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
                       FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
                       FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44)
{
    _11 = f11; _12 = f12; _13 = f13; _14 = f14;
    _21 = f21; _22 = f22; _23 = f23; _24 = f24;
    _31 = f31; _32 = f32; _33 = f33; _34 = f34;
    _41 = f41; _42 = f42; _43 = f43; _44 = f44;
}
FLOAT& D3DXMATRIX::operator()(UINT row, UINT col) { return m[row][col]; }
FLOAT D3DXMATRIX::operator()(UINT row, UINT col) const { return m[row][col]; }
D3DXMATRIX::operator FLOAT*() { return &_11; }
D3DXMATRIX::operator CONST FLOAT*() const { return &_11; }
D3DXMATRIX& D3DXMATRIX::operator*=(CONST D3DXMATRIX& mat) { D3DXMatrixMultiply(this, this, &mat); return *this; }
D3DXMATRIX& D3DXMATRIX::operator+=(CONST D3DXMATRIX& mat)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) m[i][j] += mat.m[i][j];
    return *this;
}
D3DXMATRIX& D3DXMATRIX::operator-=(CONST D3DXMATRIX& mat)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) m[i][j] -= mat.m[i][j];
    return *this;
}
D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) m[i][j] *= f;
    return *this;
}
D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f) { return *this *= 1.0f / f; }
D3DXMATRIX D3DXMATRIX::operator+() const { return *this; }
D3DXMATRIX D3DXMATRIX::operator-() const { return *this * -1.0f; }
D3DXMATRIX D3DXMATRIX::operator*(CONST D3DXMATRIX& mat) const { D3DXMATRIX r; D3DXMatrixMultiply(&r, this, &mat); return r; }
D3DXMATRIX D3DXMATRIX::operator+(CONST D3DXMATRIX& mat) const { D3DXMATRIX r(*this); return r += mat; }
D3DXMATRIX D3DXMATRIX::operator-(CONST D3DXMATRIX& mat) const { D3DXMATRIX r(*this); return r -= mat; }
D3DXMATRIX D3DXMATRIX::operator*(FLOAT f) const { D3DXMATRIX r(*this); return r *= f; }
D3DXMATRIX D3DXMATRIX::operator/(FLOAT f) const { D3DXMATRIX r(*this); return r /= f; }
D3DXMATRIX operator*(FLOAT f, CONST D3DXMATRIX& mat) { return mat * f; }
BOOL D3DXMATRIX::operator==(CONST D3DXMATRIX& mat) const
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m[i][j] != mat.m[i][j]) return FALSE;
    return TRUE;
}
BOOL D3DXMATRIX::operator!=(CONST D3DXMATRIX& mat) const { return !(*this == mat); }

// ---- D3DXQUATERNION ----
D3DXQUATERNION::D3DXQUATERNION(CONST FLOAT* pf) : x(pf[0]), y(pf[1]), z(pf[2]), w(pf[3]) {}
D3DXQUATERNION::D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
D3DXQUATERNION::operator FLOAT*() { return &x; }
D3DXQUATERNION::operator CONST FLOAT*() const { return &x; }
BOOL D3DXQUATERNION::operator==(CONST D3DXQUATERNION& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
BOOL D3DXQUATERNION::operator!=(CONST D3DXQUATERNION& q) const { return !(*this == q); }

// ---- D3DXCOLOR ----
static FLOAT channel_of(DWORD argb, int shift) { return (FLOAT)((argb >> shift) & 0xFF) * (1.0f / 255.0f); }
static DWORD byte_of(FLOAT f)
{
    if (!(f > 0.0f)) return 0;
    if (f >= 1.0f) return 0xFF;
    return (DWORD)(f * 255.0f + 0.5f);
}

D3DXCOLOR::D3DXCOLOR(DWORD argb)
    : r(channel_of(argb, 16)), g(channel_of(argb, 8)), b(channel_of(argb, 0)), a(channel_of(argb, 24)) {}
D3DXCOLOR::D3DXCOLOR(CONST FLOAT* pf) : r(pf[0]), g(pf[1]), b(pf[2]), a(pf[3]) {}
D3DXCOLOR::D3DXCOLOR(CONST D3DCOLORVALUE& c) : r(c.r), g(c.g), b(c.b), a(c.a) {}
D3DXCOLOR::D3DXCOLOR(FLOAT fr, FLOAT fg, FLOAT fb, FLOAT fa) : r(fr), g(fg), b(fb), a(fa) {}
D3DXCOLOR::operator DWORD() const
{
    return (byte_of(a) << 24) | (byte_of(r) << 16) | (byte_of(g) << 8) | byte_of(b);
}
D3DXCOLOR::operator FLOAT*() { return &r; }
D3DXCOLOR::operator CONST FLOAT*() const { return &r; }
D3DXCOLOR::operator D3DCOLORVALUE*() { return reinterpret_cast<D3DCOLORVALUE*>(&r); }
D3DXCOLOR::operator CONST D3DCOLORVALUE*() const { return reinterpret_cast<CONST D3DCOLORVALUE*>(&r); }
D3DXCOLOR::operator D3DCOLORVALUE&() { return *reinterpret_cast<D3DCOLORVALUE*>(&r); }
D3DXCOLOR::operator CONST D3DCOLORVALUE&() const { return *reinterpret_cast<CONST D3DCOLORVALUE*>(&r); }
D3DXCOLOR& D3DXCOLOR::operator+=(CONST D3DXCOLOR& c) { r += c.r; g += c.g; b += c.b; a += c.a; return *this; }
D3DXCOLOR& D3DXCOLOR::operator-=(CONST D3DXCOLOR& c) { r -= c.r; g -= c.g; b -= c.b; a -= c.a; return *this; }
D3DXCOLOR& D3DXCOLOR::operator*=(FLOAT f) { r *= f; g *= f; b *= f; a *= f; return *this; }
D3DXCOLOR& D3DXCOLOR::operator/=(FLOAT f) { return *this *= 1.0f / f; }
D3DXCOLOR D3DXCOLOR::operator+() const { return *this; }
D3DXCOLOR D3DXCOLOR::operator-() const { return D3DXCOLOR(-r, -g, -b, -a); }
D3DXCOLOR D3DXCOLOR::operator+(CONST D3DXCOLOR& c) const { return D3DXCOLOR(r + c.r, g + c.g, b + c.b, a + c.a); }
D3DXCOLOR D3DXCOLOR::operator-(CONST D3DXCOLOR& c) const { return D3DXCOLOR(r - c.r, g - c.g, b - c.b, a - c.a); }
D3DXCOLOR D3DXCOLOR::operator*(FLOAT f) const { return D3DXCOLOR(r * f, g * f, b * f, a * f); }
D3DXCOLOR D3DXCOLOR::operator/(FLOAT f) const { return *this * (1.0f / f); }
D3DXCOLOR operator*(FLOAT f, CONST D3DXCOLOR& c) { return c * f; }
BOOL D3DXCOLOR::operator==(CONST D3DXCOLOR& c) const { return r == c.r && g == c.g && b == c.b && a == c.a; }
BOOL D3DXCOLOR::operator!=(CONST D3DXCOLOR& c) const { return !(*this == c); }
