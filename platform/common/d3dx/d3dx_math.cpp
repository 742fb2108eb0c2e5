// The D3DX vector and matrix functions, with the SDK's documented formulas. Every function
// computes into a local first, so pOut may alias an input.
#include <d3dx9.h>

#include <math.h>

// ---- 3D vectors ----
FLOAT WINAPI D3DXVec3LengthSq(CONST D3DXVECTOR3* pV) { return pV->x * pV->x + pV->y * pV->y + pV->z * pV->z; }
FLOAT WINAPI D3DXVec3Length(CONST D3DXVECTOR3* pV) { return sqrtf(D3DXVec3LengthSq(pV)); }
FLOAT WINAPI D3DXVec3Dot(CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2)
{
    return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}

D3DXVECTOR3* WINAPI D3DXVec3Cross(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2)
{
    D3DXVECTOR3 r(pV1->y * pV2->z - pV1->z * pV2->y,
                  pV1->z * pV2->x - pV1->x * pV2->z,
                  pV1->x * pV2->y - pV1->y * pV2->x);
    *pOut = r;
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Add(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2)
{
    *pOut = D3DXVECTOR3(pV1->x + pV2->x, pV1->y + pV2->y, pV1->z + pV2->z);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Subtract(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2)
{
    *pOut = D3DXVECTOR3(pV1->x - pV2->x, pV1->y - pV2->y, pV1->z - pV2->z);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Scale(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, FLOAT s)
{
    *pOut = D3DXVECTOR3(pV->x * s, pV->y * s, pV->z * s);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Lerp(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2, FLOAT s)
{
    *pOut = D3DXVECTOR3(pV1->x + s * (pV2->x - pV1->x), pV1->y + s * (pV2->y - pV1->y),
                        pV1->z + s * (pV2->z - pV1->z));
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Minimize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2)
{
    *pOut = D3DXVECTOR3(fminf(pV1->x, pV2->x), fminf(pV1->y, pV2->y), fminf(pV1->z, pV2->z));
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Maximize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2)
{
    *pOut = D3DXVECTOR3(fmaxf(pV1->x, pV2->x), fmaxf(pV1->y, pV2->y), fmaxf(pV1->z, pV2->z));
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV)
{
    FLOAT len = D3DXVec3Length(pV);
    if (len == 0.0f) {
        *pOut = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return pOut;
    }
    *pOut = D3DXVECTOR3(pV->x / len, pV->y / len, pV->z / len);
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM)
{
    D3DXVECTOR4 r;
    r.x = pV->x * pM->_11 + pV->y * pM->_21 + pV->z * pM->_31 + pM->_41;
    r.y = pV->x * pM->_12 + pV->y * pM->_22 + pV->z * pM->_32 + pM->_42;
    r.z = pV->x * pM->_13 + pV->y * pM->_23 + pV->z * pM->_33 + pM->_43;
    r.w = pV->x * pM->_14 + pV->y * pM->_24 + pV->z * pM->_34 + pM->_44;
    *pOut = r;
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM)
{
    D3DXVECTOR4 r;
    D3DXVec3Transform(&r, pV, pM);
    *pOut = D3DXVECTOR3(r.x / r.w, r.y / r.w, r.z / r.w);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM)
{
    D3DXVECTOR3 r(pV->x * pM->_11 + pV->y * pM->_21 + pV->z * pM->_31,
                  pV->x * pM->_12 + pV->y * pM->_22 + pV->z * pM->_32,
                  pV->x * pM->_13 + pV->y * pM->_23 + pV->z * pM->_33);
    *pOut = r;
    return pOut;
}

// ---- 4D vectors ----
FLOAT WINAPI D3DXVec4Dot(CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2)
{
    return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z + pV1->w * pV2->w;
}

FLOAT WINAPI D3DXVec4Length(CONST D3DXVECTOR4* pV) { return sqrtf(D3DXVec4Dot(pV, pV)); }

D3DXVECTOR4* WINAPI D3DXVec4Normalize(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV)
{
    FLOAT len = D3DXVec4Length(pV);
    if (len == 0.0f) {
        *pOut = D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
        return pOut;
    }
    *pOut = D3DXVECTOR4(pV->x / len, pV->y / len, pV->z / len, pV->w / len);
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV, CONST D3DXMATRIX* pM)
{
    D3DXVECTOR4 r;
    r.x = pV->x * pM->_11 + pV->y * pM->_21 + pV->z * pM->_31 + pV->w * pM->_41;
    r.y = pV->x * pM->_12 + pV->y * pM->_22 + pV->z * pM->_32 + pV->w * pM->_42;
    r.z = pV->x * pM->_13 + pV->y * pM->_23 + pV->z * pM->_33 + pV->w * pM->_43;
    r.w = pV->x * pM->_14 + pV->y * pM->_24 + pV->z * pM->_34 + pV->w * pM->_44;
    *pOut = r;
    return pOut;
}

// ---- Matrices ----
static D3DXMATRIX zero_matrix()
{
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = 0.0f;
    return r;
}

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut)
{
    *pOut = zero_matrix();
    pOut->_11 = pOut->_22 = pOut->_33 = pOut->_44 = 1.0f;
    return pOut;
}

BOOL WINAPI D3DXMatrixIsIdentity(CONST D3DXMATRIX* pM)
{
    D3DXMATRIX id;
    D3DXMatrixIdentity(&id);
    return *pM == id;
}

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1, CONST D3DXMATRIX* pM2)
{
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = pM1->m[i][0] * pM2->m[0][j] + pM1->m[i][1] * pM2->m[1][j] +
                        pM1->m[i][2] * pM2->m[2][j] + pM1->m[i][3] * pM2->m[3][j];
    *pOut = r;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM)
{
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = pM->m[j][i];
    *pOut = r;
    return pOut;
}

// The 2x2 minors of the two lower and two upper rows, from which the determinant and the
// adjugate both follow (Laplace expansion along row pairs).
struct Row_Pair_Minors {
    FLOAT s[6];
    FLOAT c[6];
};

static Row_Pair_Minors minors_of(CONST D3DXMATRIX* pM)
{
    const FLOAT(*a)[4] = pM->m;
    Row_Pair_Minors p;
    p.s[0] = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    p.s[1] = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    p.s[2] = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    p.s[3] = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    p.s[4] = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    p.s[5] = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    p.c[5] = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    p.c[4] = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    p.c[3] = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    p.c[2] = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    p.c[1] = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    p.c[0] = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    return p;
}

static FLOAT determinant_of(const Row_Pair_Minors& p)
{
    return p.s[0] * p.c[5] - p.s[1] * p.c[4] + p.s[2] * p.c[3] + p.s[3] * p.c[2] - p.s[4] * p.c[1] +
           p.s[5] * p.c[0];
}

FLOAT WINAPI D3DXMatrixDeterminant(CONST D3DXMATRIX* pM) { return determinant_of(minors_of(pM)); }

D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, CONST D3DXMATRIX* pM)
{
    const Row_Pair_Minors p = minors_of(pM);
    const FLOAT det = determinant_of(p);
    if (pDeterminant) *pDeterminant = det;
    if (det == 0.0f || !isfinite(det)) return NULL;
    const FLOAT(*a)[4] = pM->m;
    const FLOAT* s = p.s;
    const FLOAT* c = p.c;
    const FLOAT k = 1.0f / det;
    D3DXMATRIX r;
    r.m[0][0] = (a[1][1] * c[5] - a[1][2] * c[4] + a[1][3] * c[3]) * k;
    r.m[0][1] = (-a[0][1] * c[5] + a[0][2] * c[4] - a[0][3] * c[3]) * k;
    r.m[0][2] = (a[3][1] * s[5] - a[3][2] * s[4] + a[3][3] * s[3]) * k;
    r.m[0][3] = (-a[2][1] * s[5] + a[2][2] * s[4] - a[2][3] * s[3]) * k;
    r.m[1][0] = (-a[1][0] * c[5] + a[1][2] * c[2] - a[1][3] * c[1]) * k;
    r.m[1][1] = (a[0][0] * c[5] - a[0][2] * c[2] + a[0][3] * c[1]) * k;
    r.m[1][2] = (-a[3][0] * s[5] + a[3][2] * s[2] - a[3][3] * s[1]) * k;
    r.m[1][3] = (a[2][0] * s[5] - a[2][2] * s[2] + a[2][3] * s[1]) * k;
    r.m[2][0] = (a[1][0] * c[4] - a[1][1] * c[2] + a[1][3] * c[0]) * k;
    r.m[2][1] = (-a[0][0] * c[4] + a[0][1] * c[2] - a[0][3] * c[0]) * k;
    r.m[2][2] = (a[3][0] * s[4] - a[3][1] * s[2] + a[3][3] * s[0]) * k;
    r.m[2][3] = (-a[2][0] * s[4] + a[2][1] * s[2] - a[2][3] * s[0]) * k;
    r.m[3][0] = (-a[1][0] * c[3] + a[1][1] * c[1] - a[1][2] * c[0]) * k;
    r.m[3][1] = (a[0][0] * c[3] - a[0][1] * c[1] + a[0][2] * c[0]) * k;
    r.m[3][2] = (-a[3][0] * s[3] + a[3][1] * s[1] - a[3][2] * s[0]) * k;
    r.m[3][3] = (a[2][0] * s[3] - a[2][1] * s[1] + a[2][2] * s[0]) * k;
    *pOut = r;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz)
{
    D3DXMatrixIdentity(pOut);
    pOut->_11 = sx;
    pOut->_22 = sy;
    pOut->_33 = sz;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z)
{
    D3DXMatrixIdentity(pOut);
    pOut->_41 = x;
    pOut->_42 = y;
    pOut->_43 = z;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle)
{
    const FLOAT s = sinf(Angle), c = cosf(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->_22 = c;
    pOut->_23 = s;
    pOut->_32 = -s;
    pOut->_33 = c;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle)
{
    const FLOAT s = sinf(Angle), c = cosf(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->_11 = c;
    pOut->_13 = -s;
    pOut->_31 = s;
    pOut->_33 = c;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle)
{
    const FLOAT s = sinf(Angle), c = cosf(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->_11 = c;
    pOut->_12 = s;
    pOut->_21 = -s;
    pOut->_22 = c;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pV, FLOAT Angle)
{
    D3DXVECTOR3 v;
    D3DXVec3Normalize(&v, pV);
    const FLOAT s = sinf(Angle), c = cosf(Angle), t = 1.0f - c;
    D3DXMatrixIdentity(pOut);
    if (v.x == 0.0f && v.y == 0.0f && v.z == 0.0f) return pOut;
    pOut->_11 = t * v.x * v.x + c;
    pOut->_12 = t * v.x * v.y + s * v.z;
    pOut->_13 = t * v.x * v.z - s * v.y;
    pOut->_21 = t * v.x * v.y - s * v.z;
    pOut->_22 = t * v.y * v.y + c;
    pOut->_23 = t * v.y * v.z + s * v.x;
    pOut->_31 = t * v.x * v.z + s * v.y;
    pOut->_32 = t * v.y * v.z - s * v.x;
    pOut->_33 = t * v.z * v.z + c;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll)
{
    D3DXMATRIX roll, pitch, yaw;
    D3DXMatrixRotationZ(&roll, Roll);
    D3DXMatrixRotationX(&pitch, Pitch);
    D3DXMatrixRotationY(&yaw, Yaw);
    D3DXMatrixMultiply(pOut, &roll, &pitch);
    return D3DXMatrixMultiply(pOut, pOut, &yaw);
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp)
{
    D3DXVECTOR3 x, y, z;
    D3DXVec3Subtract(&z, pAt, pEye);
    D3DXVec3Normalize(&z, &z);
    D3DXVec3Cross(&x, pUp, &z);
    D3DXVec3Normalize(&x, &x);
    D3DXVec3Cross(&y, &z, &x);
    const D3DXVECTOR3 eye = *pEye;
    *pOut = D3DXMATRIX(x.x, y.x, z.x, 0.0f,
                       x.y, y.y, z.y, 0.0f,
                       x.z, y.z, z.z, 0.0f,
                       -D3DXVec3Dot(&x, &eye), -D3DXVec3Dot(&y, &eye), -D3DXVec3Dot(&z, &eye), 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf)
{
    const FLOAT ys = 1.0f / tanf(fovy / 2.0f);
    const FLOAT xs = ys / Aspect;
    *pOut = zero_matrix();
    pOut->_11 = xs;
    pOut->_22 = ys;
    pOut->_33 = zf / (zf - zn);
    pOut->_34 = 1.0f;
    pOut->_43 = -zn * zf / (zf - zn);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf)
{
    D3DXMatrixIdentity(pOut);
    pOut->_11 = 2.0f / w;
    pOut->_22 = 2.0f / h;
    pOut->_33 = 1.0f / (zf - zn);
    pOut->_43 = zn / (zn - zf);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf)
{
    D3DXMatrixIdentity(pOut);
    pOut->_11 = 2.0f / (r - l);
    pOut->_22 = 2.0f / (t - b);
    pOut->_33 = 1.0f / (zf - zn);
    pOut->_41 = (l + r) / (l - r);
    pOut->_42 = (t + b) / (b - t);
    pOut->_43 = zn / (zn - zf);
    return pOut;
}
