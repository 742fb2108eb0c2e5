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
