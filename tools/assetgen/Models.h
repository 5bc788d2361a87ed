// The demo's models: one builder per model returning its mesh (model space, y up, front
// along +z), and one function per file returning the whole .x text.
//   f22.x      twin-tail jet, nose +z, about 4 units long; texture f22.bmp
//   daikon.x   the missile: a white radish, root tip +z, leaves at the tail, 1.5 units; daikon.bmp
//   box.x      crate cube of half-size 2, 8 vertices with per-corner normals; kibako.bmp
//   tsubo.x    pot turned on the y axis, base at the origin, 9 units tall; tsubo.bmp
//   ball.x     sphere of radius 1, material only
//   tsume.x    three-talon claw standing on the origin, hub reaching down to y = -1; hagane.bmp
//   sky2.x     sphere of radius kSkyRadius seen from inside; sora.bmp
#pragma once

#include <string>

#include "tools/assetgen/GenMesh.h"

namespace assetgen {

// The sky's radius: inside the fog's far depth (300) so the sky keeps some colour, and far
// enough that the terrain in front of it shows well into the fog.
constexpr double kSkyRadius = 200.0;

GenMesh buildJetMesh();
GenMesh buildMissileMesh();
GenMesh buildCrateMesh();
GenMesh buildPotMesh();
GenMesh buildBallMesh();
GenMesh buildClawMesh();
GenMesh buildSkyMesh();

std::string jetFile();
std::string missileFile();
std::string crateFile();
std::string potFile();
std::string ballFile();
std::string clawFile();
std::string skyFile();

}  // namespace assetgen
