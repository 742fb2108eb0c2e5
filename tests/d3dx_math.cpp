// D3DX math against values worked out by hand.
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <math.h>

namespace {

const float kEps = 1e-5f;

void expect_vec3(const D3DXVECTOR3& v, float x, float y, float z, float eps = kEps)
{
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

void expect_matrix_near(const D3DXMATRIX& a, const D3DXMATRIX& b, float eps = kEps)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], eps) << "row " << i << " col " << j;
}

D3DXMATRIX identity()
{
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

}  // namespace

TEST(D3dxMath, ObjectWorldTranslatesThenTurnsAboutTheOrigin)
{
    // The object world is T x Rx x Ry x Rz: (10,0,0) turned 90 degrees about y lands on -z.
    D3DXMATRIX t, rx, ry, rz, world;
    const float k = 0.017453292f;
    D3DXMatrixTranslation(&t, 10, 0, 0);
    D3DXMatrixRotationX(&rx, 0 * k);
    D3DXMatrixRotationY(&ry, 90 * k);
    D3DXMatrixRotationZ(&rz, 0 * k);
    D3DXMatrixMultiply(&world, &t, &rx);
    D3DXMatrixMultiply(&world, &world, &ry);
    D3DXMatrixMultiply(&world, &world, &rz);
    D3DXVECTOR3 origin(0, 0, 0), p;
    D3DXVec3TransformCoord(&p, &origin, &world);
    expect_vec3(p, 0, 0, -10);
}

TEST(D3dxMath, AxisRotationsFollowTheLeftHandedConvention)
{
    D3DXMATRIX m;
    D3DXVECTOR3 p;
    const D3DXVECTOR3 ux(1, 0, 0), uy(0, 1, 0), uz(0, 0, 1);
    D3DXMatrixRotationX(&m, D3DX_PI / 2);
    D3DXVec3TransformCoord(&p, &uy, &m);
    expect_vec3(p, 0, 0, 1);
    D3DXMatrixRotationY(&m, D3DX_PI / 2);
    D3DXVec3TransformCoord(&p, &uz, &m);
    expect_vec3(p, 1, 0, 0);
    D3DXMatrixRotationZ(&m, D3DX_PI / 2);
    D3DXVec3TransformCoord(&p, &ux, &m);
    expect_vec3(p, 0, 1, 0);

    // About an arbitrary (unnormalised) axis: 90 degrees about (0, 2, 0) is RotationY.
    D3DXMATRIX axis, y;
    const D3DXVECTOR3 up2(0, 2, 0);
    D3DXMatrixRotationAxis(&axis, &up2, D3DX_PI / 2);
    D3DXMatrixRotationY(&y, D3DX_PI / 2);
    expect_matrix_near(axis, y);

    // 120 degrees about (1,1,1) cycles the axes x -> y -> z.
    const D3DXVECTOR3 diag(1, 1, 1);
    D3DXMatrixRotationAxis(&m, &diag, 2 * D3DX_PI / 3);
    D3DXVec3TransformCoord(&p, &ux, &m);
    expect_vec3(p, 0, 1, 0);
    D3DXVec3TransformCoord(&p, &uy, &m);
    expect_vec3(p, 0, 0, 1);

    // A zero axis leaves points where they are instead of producing NaN.
    const D3DXVECTOR3 zero(0, 0, 0);
    D3DXMatrixRotationAxis(&m, &zero, 1.0f);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&m));
}

TEST(D3dxMath, LookAtFromInFrontOfTheOriginMovesTheEyeToZero)
{
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    expect_matrix_near(view, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1));

    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, &eye, &view);
    expect_vec3(p, 0, 0, 0);

    // An eye at (10, 0, 0) looks along -x; in a left-handed view +z is then on its right.
    const D3DXVECTOR3 eye2(10, 0, 0), pz(0, 0, 1);
    D3DXMatrixLookAtLH(&view, &eye2, &at, &up);
    D3DXVec3TransformCoord(&p, &pz, &view);
    expect_vec3(p, 1, 0, 10);
}

TEST(D3dxMath, PerspectiveMapsNearAndFarPlanesToDepthZeroAndOne)
{
    D3DXMATRIX proj;
    const float fov = 0.7853982f, aspect = 1.3333334f, zn = 1.0f, zf = 15000.0f;
    D3DXMatrixPerspectiveFovLH(&proj, fov, aspect, zn, zf);
    const float ys = 1.0f / tanf(fov / 2);
    EXPECT_NEAR(proj._11, ys / aspect, kEps);
    EXPECT_NEAR(proj._22, ys, kEps);
    EXPECT_FLOAT_EQ(proj._34, 1.0f);
    EXPECT_FLOAT_EQ(proj._44, 0.0f);

    D3DXVECTOR3 p;
    const D3DXVECTOR3 on_near(0, 0, zn), on_far(0, 0, zf);
    D3DXVec3TransformCoord(&p, &on_near, &proj);
    expect_vec3(p, 0, 0, 0);
    D3DXVec3TransformCoord(&p, &on_far, &proj);
    expect_vec3(p, 0, 0, 1);

    // The top edge of the frustum at distance 2 projects to y = 1.
    const D3DXVECTOR3 top(0, 2 * tanf(fov / 2), 2);
    D3DXVec3TransformCoord(&p, &top, &proj);
    EXPECT_NEAR(p.y, 1.0f, kEps);
}

TEST(D3dxMath, MultiplyAppliesTheLeftOperandFirstAndMayAlias)
{
    D3DXMATRIX s, t, st, ts;
    D3DXMatrixScaling(&s, 2, 2, 2);
    D3DXMatrixTranslation(&t, 1, 0, 0);
    D3DXMatrixMultiply(&st, &s, &t);
    D3DXMatrixMultiply(&ts, &t, &s);
    const D3DXVECTOR3 one(1, 0, 0);
    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, &one, &st);
    expect_vec3(p, 3, 0, 0);
    D3DXVec3TransformCoord(&p, &one, &ts);
    expect_vec3(p, 4, 0, 0);

    D3DXMATRIX a = s;
    D3DXMatrixMultiply(&a, &a, &t);
    expect_matrix_near(a, st);
    expect_matrix_near(s * t, st);
    D3DXMATRIX b = t;
    b *= s;
    expect_matrix_near(b, ts);
}

TEST(D3dxMath, InverseUndoesAGeneralTransformAndRefusesASingularOne)
{
    D3DXMATRIX r, t, s, m, inv, prod;
    const D3DXVECTOR3 axis(1, -2, 0.5f);
    D3DXMatrixRotationAxis(&r, &axis, 0.7f);
    D3DXMatrixTranslation(&t, 3, -4, 5);
    D3DXMatrixScaling(&s, 2, 0.5f, 3);
    m = s * r * t;
    m._14 = 0.25f;  // not affine: every cofactor counts
    float det = 0;
    ASSERT_NE(D3DXMatrixInverse(&inv, &det, &m), nullptr);
    EXPECT_NEAR(det, D3DXMatrixDeterminant(&m), 1e-4f);
    D3DXMatrixMultiply(&prod, &m, &inv);
    expect_matrix_near(prod, identity(), 1e-4f);
    D3DXMatrixMultiply(&prod, &inv, &m);
    expect_matrix_near(prod, identity(), 1e-4f);

    D3DXMATRIX singular;
    D3DXMatrixScaling(&singular, 1, 0, 1);
    D3DXMATRIX untouched = identity();
    EXPECT_EQ(D3DXMatrixInverse(&untouched, &det, &singular), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&untouched));
}

TEST(D3dxMath, VectorHelpers)
{
    const D3DXVECTOR3 a(3, 0, 4), b(0, 1, 0), zero(0, 0, 0);
    D3DXVECTOR3 r;
    EXPECT_FLOAT_EQ(D3DXVec3Length(&a), 5.0f);
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&a, &b), 0.0f);
    D3DXVec3Cross(&r, &a, &b);
    expect_vec3(r, -4, 0, 3);
    D3DXVec3Normalize(&r, &a);
    expect_vec3(r, 0.6f, 0, 0.8f);
    D3DXVec3Normalize(&r, &zero);
    EXPECT_EQ(r, zero);  // zero stays zero, not NaN

    // In place.
    r = a;
    D3DXVec3Cross(&r, &r, &b);
    expect_vec3(r, -4, 0, 3);

    // TransformNormal ignores translation; TransformCoord divides by w.
    D3DXMATRIX t;
    D3DXMatrixTranslation(&t, 5, 5, 5);
    D3DXVec3TransformNormal(&r, &b, &t);
    expect_vec3(r, 0, 1, 0);
    t._44 = 2;
    D3DXVec3TransformCoord(&r, &b, &t);
    expect_vec3(r, 2.5f, 3, 2.5f);

    EXPECT_EQ(a + b - b, a);
    EXPECT_EQ(2.0f * a, a * 2.0f);
    EXPECT_EQ(a / 2.0f, D3DXVECTOR3(1.5f, 0, 2));
    EXPECT_EQ(-a, D3DXVECTOR3(-3, 0, -4));
}

TEST(D3dxMath, ColourRoundTripsThroughD3dcolor)
{
    const D3DXCOLOR c(0xFF91919Bu);
    EXPECT_NEAR(c.r, 0x91 / 255.0f, 1e-6f);
    EXPECT_NEAR(c.b, 0x9B / 255.0f, 1e-6f);
    EXPECT_EQ((DWORD)c, 0xFF91919Bu);
    EXPECT_EQ((DWORD)D3DXCOLOR(2.0f, -1.0f, 0.5f, 1.0f), 0xFFFF0080u);  // clamped, rounded
}
