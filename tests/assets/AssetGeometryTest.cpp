// The generator's meshes: sizes and orientations the scene relies on, triangle budgets, and
// winding: every closed part must enclose positive volume with its faces turned outward (the
// sky negative, seen from inside), so that D3DCULL_CCW keeps the sides that face the camera.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/assetgen/GenMesh.h"
#include "tools/assetgen/Models.h"

namespace {

using assetgen::GenMesh;
using assetgen::Vec3;

struct Bounds {
  Vec3 min{1e9, 1e9, 1e9}, max{-1e9, -1e9, -1e9};
};

Bounds boundsOf(const GenMesh& mesh) {
  Bounds b;
  for (const Vec3& p : mesh.positions) {
    b.min = {std::fmin(b.min.x, p.x), std::fmin(b.min.y, p.y), std::fmin(b.min.z, p.z)};
    b.max = {std::fmax(b.max.x, p.x), std::fmax(b.max.y, p.y), std::fmax(b.max.z, p.z)};
  }
  return b;
}

// Closed parts enclose volume of sign `sign`; every face's winding agrees with its vertices' normals.
void expectWoundConsistently(const GenMesh& mesh, double sign, const char* model) {
  ASSERT_FALSE(mesh.parts.empty()) << model;
  for (std::size_t p = 0; p < mesh.parts.size(); ++p) {
    if (mesh.parts[p].closed) {
      EXPECT_GT(sign * assetgen::signedVolume(mesh, p), 0.0) << model << " part " << mesh.parts[p].name;
    }
  }
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    std::vector<Vec3> points;
    for (int c : mesh.faces[f]) points.push_back(mesh.positions[c]);
    const Vec3 n = assetgen::polygonNormal(points);
    for (int c : mesh.faces[f]) ASSERT_GT(assetgen::dot(n, mesh.normals[c]), 0.0) << model << " face " << f;
  }
}

TEST(AssetGeometry, PolygonNormalFollowsTheCornerOrder) {
  const Vec3 n = assetgen::polygonNormal({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  EXPECT_GT(n.z, 0.0);  // same way as cross(v1 - v0, v2 - v0)
  GenMesh mesh;
  mesh.beginPart("square", false);
  assetgen::addFlatPolygon(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, -1},
                           [](Vec3, Vec3) { return assetgen::Vec2{}; });
  EXPECT_LT(mesh.normals[0].z, 0.0);  // turned to face the requested side
  EXPECT_LT(assetgen::polygonNormal({mesh.positions[mesh.faces[0][0]], mesh.positions[mesh.faces[0][1]],
                                     mesh.positions[mesh.faces[0][2]]}).z, 0.0);
}

TEST(AssetGeometry, JetIsFourUnitsLongNoseForwardWithAFewHundredTriangles) {
  const GenMesh jet = assetgen::buildJetMesh();
  const Bounds b = boundsOf(jet);
  EXPECT_NEAR(b.max.z - b.min.z, 4.0, 0.2);
  EXPECT_NEAR(b.max.z, -b.min.z, 0.1);  // centred on its origin along the length
  EXPECT_LE(b.max.x - b.min.x, 4.0);    // fits the collision cube across
  for (const Vec3& p : jet.positions) {
    if (p.z > b.max.z - 1e-9) {
      EXPECT_NEAR(p.x, 0.0, 1e-9);  // the nose tip lies on the centre line, at +z
    }
  }
  EXPECT_GE(jet.triangleCount(), 200);
  EXPECT_LE(jet.triangleCount(), 600);
  int tails = 0;
  for (const auto& part : jet.parts) tails += part.name.rfind("tail", 0) == 0;
  EXPECT_EQ(tails, 2);
  expectWoundConsistently(jet, 1.0, "f22");
}

TEST(AssetGeometry, MissileIsARadishWithLeavesBehind) {
  const GenMesh missile = assetgen::buildMissileMesh();
  const Bounds b = boundsOf(missile);
  EXPECT_NEAR(b.max.z - b.min.z, 1.5, 0.1);
  EXPECT_NEAR(b.max.z, 0.75, 1e-9);  // root tip forward
  std::size_t leaves = 0;
  for (std::size_t p = 0; p < missile.parts.size(); ++p) {
    if (missile.parts[p].name != "leaves") continue;
    for (std::size_t f = missile.parts[p].firstFace; f < assetgen::partFaceEnd(missile, p); ++f) {
      for (int c : missile.faces[f]) EXPECT_LT(missile.positions[c].z, -0.3);
      ++leaves;
    }
  }
  EXPECT_EQ(leaves, 10u);  // five leaves, both sides
  expectWoundConsistently(missile, 1.0, "daikon");
}

TEST(AssetGeometry, CrateMatchesTheCollisionCube) {
  const GenMesh crate = assetgen::buildCrateMesh();
  const Bounds b = boundsOf(crate);
  EXPECT_EQ(b.min.x, -2.0);
  EXPECT_EQ(b.max.y, 2.0);
  EXPECT_EQ(b.max.z, 2.0);
  EXPECT_EQ(crate.faces.size(), 6u);
  expectWoundConsistently(crate, 1.0, "box");
}

TEST(AssetGeometry, PotStandsOnItsOriginWithinTheTriangleBudget) {
  const GenMesh pot = assetgen::buildPotMesh();
  const Bounds b = boundsOf(pot);
  EXPECT_NEAR(b.min.y, 0.0, 1e-9);
  EXPECT_GE(b.max.y, 8.0);
  EXPECT_LE(b.max.y, 10.0);
  EXPECT_GE(pot.triangleCount(), 200);
  EXPECT_LE(pot.triangleCount(), 400);
  expectWoundConsistently(pot, 1.0, "tsubo");
}

TEST(AssetGeometry, BallAndClawFitTheArm) {
  const GenMesh ball = assetgen::buildBallMesh();
  for (const Vec3& p : ball.positions) EXPECT_NEAR(assetgen::length(p), 1.0, 1e-9);
  expectWoundConsistently(ball, 1.0, "ball");
  const GenMesh claw = assetgen::buildClawMesh();
  const Bounds b = boundsOf(claw);
  EXPECT_LE(b.min.y, -0.9);  // the hub reaches into the ball below (its top at y = -1)
  EXPECT_GT(b.max.y, 1.5);
  EXPECT_LE(std::fmax(b.max.x, -b.min.x), 2.0);
  expectWoundConsistently(claw, 1.0, "tsume");
}

TEST(AssetGeometry, SkyFacesInwardInsideTheFogRange) {
  const GenMesh sky = assetgen::buildSkyMesh();
  for (const Vec3& p : sky.positions) EXPECT_NEAR(assetgen::length(p), assetgen::kSkyRadius, 1e-6);
  EXPECT_GT(assetgen::kSkyRadius, 10.0);   // beyond the fog's start
  EXPECT_LT(assetgen::kSkyRadius, 300.0);  // short of its end: the sky keeps some colour
  expectWoundConsistently(sky, -1.0, "sky2");
}

}  // namespace
