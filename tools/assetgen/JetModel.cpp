// The jet (f22.x): a lofted fuselage of eight-sided sections from the nose at z = +2.05 to
// the tail at z = -1.6, a bubble canopy, caret intakes, diamond-section wings, horizontal
// stabilisers, twin vertical tails canted outward and two nozzles. Every face is flat with
// vertices of its own, so each can take the light band of its normal (see JetAtlas.h).
#include "tools/assetgen/JetAtlas.h"
#include "tools/assetgen/Lathe.h"
#include "tools/assetgen/Models.h"
#include "tools/assetgen/XFileWriter.h"

namespace assetgen {

namespace {

struct Station {
  double z, halfWidth, top, bottom;
};

// Fuselage cross-sections, nose to tail; the nose tip closes the first.
constexpr Station kStations[] = {
    {1.75, 0.09, 0.07, -0.06}, {1.35, 0.19, 0.14, -0.11}, {0.90, 0.27, 0.19, -0.14}, {0.40, 0.36, 0.21, -0.16},
    {-0.30, 0.44, 0.20, -0.17}, {-1.00, 0.42, 0.17, -0.16}, {-1.60, 0.36, 0.13, -0.13},
};
constexpr Vec3 kNoseTip = {0.0, 0.0, 2.05};

std::vector<Vec3> section(const Station& s) {
  const double w = s.halfWidth;
  return {{0, s.top, s.z},          {0.6 * w, 0.85 * s.top, s.z},     {w, 0.0, s.z},
          {0.6 * w, 0.8 * s.bottom, s.z}, {0, s.bottom, s.z},        {-0.6 * w, 0.8 * s.bottom, s.z},
          {-w, 0.0, s.z},           {-0.6 * w, 0.85 * s.top, s.z}};
}

UvFunction paintUv(JetPaint paint) {
  return [paint](Vec3 p, Vec3 n) { return jetUv(paint, p, n); };
}

void addFuselage(GenMesh& mesh) {
  mesh.beginPart("fuselage", true);
  const auto camo = paintUv(JetPaint::Camouflage);
  const std::vector<Vec3> first = section(kStations[0]);
  for (std::size_t k = 0; k < first.size(); ++k) {
    const Vec3 a = first[k], b = first[(k + 1) % first.size()];
    const Vec3 middle = (a + b) * 0.5;
    addFlatPolygon(mesh, {kNoseTip, a, b}, Vec3{middle.x, middle.y, 0.0}, camo);
  }
  const std::size_t count = sizeof kStations / sizeof kStations[0];
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const std::vector<Vec3> front = section(kStations[i]), back = section(kStations[i + 1]);
    for (std::size_t k = 0; k < front.size(); ++k) {
      const std::size_t k1 = (k + 1) % front.size();
      const Vec3 centre = (front[k] + front[k1] + back[k] + back[k1]) * 0.25;
      addFlatPolygon(mesh, {front[k], front[k1], back[k1], back[k]}, Vec3{centre.x, centre.y, 0.0}, camo);
    }
  }
  addFlatPolygon(mesh, section(kStations[count - 1]), Vec3{0, 0, -1}, paintUv(JetPaint::DarkMetal));
}

void addCanopy(GenMesh& mesh) {
  mesh.beginPart("canopy", true);
  const std::size_t first = mesh.positions.size();
  LatheParams params;
  params.segments = 10;
  params.axis = LatheAxis::Z;
  params.centre = {0.0, 0.16, 0.0};
  addLathe(mesh, {{{0.0, 0.46, 0}, {0.06, 0.50, 0}, {0.105, 0.62, 0}, {0.125, 0.80, 0}, {0.11, 1.00, 0},
                   {0.07, 1.18, 0}, {0.0, 1.32, 0}}},
           params);
  for (std::size_t i = first; i < mesh.positions.size(); ++i) mesh.uvs[i] = jetUv(JetPaint::Glass, mesh.positions[i], mesh.normals[i]);
}

// A solid whose front-facing (or rear-facing) faces are painted dark: intakes and nozzles.
UvFunction openingUv(double towardZ) {
  return [towardZ](Vec3 p, Vec3 n) {
    return jetUv(n.z * towardZ > 0.7 ? JetPaint::DarkMetal : JetPaint::Camouflage, p, n);
  };
}

void addIntake(GenMesh& mesh, double side) {
  mesh.beginPart(side > 0 ? "intake right" : "intake left", true);
  const double inner = 0.20 * side, outer = 0.47 * side, outerBack = 0.40 * side;
  const Vec3 c[8] = {{inner, -0.14, 0.80}, {outer, -0.14, 0.80}, {outerBack, -0.14, -0.10}, {inner, -0.14, -0.10},
                     {inner, 0.12, 0.95},  {outer, 0.12, 0.95},  {outerBack, 0.12, -0.10},  {inner, 0.12, -0.10}};
  addConvexSolid(mesh, hexahedronFaces(c), openingUv(1.0));
}

void addNozzle(GenMesh& mesh, double side) {
  mesh.beginPart(side > 0 ? "nozzle right" : "nozzle left", true);
  const double x0 = 0.03 * side, x1 = 0.31 * side;
  const Vec3 c[8] = {{x0, -0.10, -1.50}, {x1, -0.10, -1.50}, {x1, -0.10, -1.95}, {x0, -0.10, -1.95},
                     {x0, 0.08, -1.50},  {x1, 0.08, -1.50},  {x1, 0.08, -1.95},  {x0, 0.08, -1.95}};
  addConvexSolid(mesh, hexahedronFaces(c), openingUv(-1.0));
}

// A thin lifting surface: planform root leading/trailing and tip leading/trailing points,
// a diamond section whose ridge runs at 40 % of the chord, thickness along `up`.
void addSurface(GenMesh& mesh, const char* name, Vec3 rootLead, Vec3 rootTrail, Vec3 tipLead, Vec3 tipTrail,
                double rootThickness, double tipThickness, Vec3 up) {
  mesh.beginPart(name, true);
  const Vec3 rootRidge = lerp(rootLead, rootTrail, 0.4), tipRidge = lerp(tipLead, tipTrail, 0.4);
  const Vec3 rootUp = rootRidge + up * (rootThickness * 0.5), rootDown = rootRidge - up * (rootThickness * 0.5);
  const Vec3 tipUp = tipRidge + up * (tipThickness * 0.5), tipDown = tipRidge - up * (tipThickness * 0.5);
  addConvexSolid(mesh,
                 {{rootLead, tipLead, tipUp, rootUp},
                  {rootUp, tipUp, tipTrail, rootTrail},
                  {rootLead, rootDown, tipDown, tipLead},
                  {rootDown, rootTrail, tipTrail, tipDown},
                  {rootLead, rootUp, rootTrail, rootDown},
                  {tipLead, tipUp, tipTrail, tipDown}},
                 paintUv(JetPaint::Camouflage));
}

void addTail(GenMesh& mesh, double side) {
  const double cant = 25.0 * kPi / 180.0;
  const Vec3 outward = {std::cos(cant) * side, -std::sin(cant), 0.0};  // normal of the tail's plane
  const Vec3 span = {std::sin(cant) * side * 0.80, std::cos(cant) * 0.80, 0.0};
  const Vec3 root = {0.30 * side, 0.12, 0.0};
  const Vec3 rootLead = root + Vec3{0, 0, -0.85}, rootTrail = root + Vec3{0, 0, -1.70};
  const Vec3 tipLead = root + span + Vec3{0, 0, -1.40}, tipTrail = root + span + Vec3{0, 0, -1.78};
  addSurface(mesh, side > 0 ? "tail right" : "tail left", rootLead, rootTrail, tipLead, tipTrail, 0.05, 0.02,
             outward);
}

}  // namespace

GenMesh buildJetMesh() {
  GenMesh mesh;
  addFuselage(mesh);
  addCanopy(mesh);
  for (double side : {1.0, -1.0}) {
    addIntake(mesh, side);
    addNozzle(mesh, side);
    addSurface(mesh, side > 0 ? "wing right" : "wing left", {0.35 * side, 0.0, 0.40}, {0.35 * side, 0.0, -1.20},
               {1.45 * side, -0.03, -0.55}, {1.45 * side, -0.03, -0.92}, 0.07, 0.025, {0, 1, 0});
    addSurface(mesh, side > 0 ? "stabiliser right" : "stabiliser left", {0.30 * side, 0.0, -1.25},
               {0.30 * side, 0.0, -2.05}, {1.10 * side, 0.0, -1.75}, {1.10 * side, 0.0, -2.05}, 0.04, 0.015, {0, 1, 0});
    addTail(mesh, side);
  }
  return mesh;
}

std::string jetFile() {
  XFileWriter x;
  MaterialDesc paint;
  paint.name = "F22Paint";
  paint.power = 20;
  paint.specular[0] = paint.specular[1] = paint.specular[2] = 0.25;
  paint.texture = "f22.bmp";
  x.material(paint);
  x.beginFrame("F22");
  x.translation(0, 0, 0);
  x.mesh("F22Body", buildJetMesh(), NormalLayout::PerVertex, paint.name);
  x.beginFrame("Hardpoints");
  x.translation(0, -0.2, -0.3);
  x.beginFrame("HardpointLeft");
  x.translation(-0.9, 0, 0);
  x.endFrame();
  x.beginFrame("HardpointRight");
  x.translation(0.9, 0, 0);
  x.endFrame();
  x.endFrame();
  x.beginFrame("Exhaust");
  x.translation(0, 0, -2.0);
  x.endFrame();
  x.endFrame();
  return x.text();
}

}  // namespace assetgen
