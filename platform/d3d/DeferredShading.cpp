#include "platform/d3d/DeferredShading.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {
DeferredShading* gPending = nullptr;  // instances with pending work (the device is single-threaded)
unsigned gOutsideAccesses = 0;
}  // namespace

DeferredShading::~DeferredShading() { delist(); }

void DeferredShading::enlist() {
  for (DeferredShading* d = gPending; d; d = d->nextPending_)
    if (d == this) return;
  nextPending_ = gPending;
  gPending = this;
}

void DeferredShading::delist() {
  for (DeferredShading** link = &gPending; *link; link = &(*link)->nextPending_) {
    if (*link == this) {
      *link = nextPending_;
      nextPending_ = nullptr;
      return;
    }
  }
}

void DeferredShading::flushAll() {
  ++gOutsideAccesses;
  while (gPending) gPending->resolve();  // resolve() delists
}

unsigned DeferredShading::outsideAccesses() { return gOutsideAccesses; }

void DeferredShading::setTarget(const ColorTarget& color) {
  resolve();
  color_ = color;
  owners_ = PixelView16{};
  if (!color.usable()) return;
  ownerBits_.assign(static_cast<std::size_t>(color.width) * static_cast<std::size_t>(color.height), 0);
  owners_.bits = ownerBits_.data();
  owners_.pitch = color.width * 2;
  owners_.width = color.width;
  owners_.height = color.height;
}

DeferredShading::Mode DeferredShading::beginDraw(const PixelConfig& config, bool depthPassesEverywhere) {
  drawOpen_ = false;
  clearConfig_ = nullptr;
  if (triangles_.empty()) draws_.clear();
  if (!owners_.bits || config.blend) return Mode::kResolveFirst;
  if (config.depthWrite) {
    if (triangles_.empty()) return Mode::kResolveFirst;  // nothing pending: a plain draw
    clearPoint_ = chooseClearingSpanKernel(config, false);
    clearBilinear_ = chooseClearingSpanKernel(config, true);
    if (!clearPoint_ || !clearBilinear_) return Mode::kResolveFirst;
    clearConfig_ = &config;
    return Mode::kClearOwners;
  }
  PixelConfig tested = config;
  if (depthPassesEverywhere) tested.depthTest = false;
  visibility_ = chooseVisibilityKernel(tested);
  Draw d;
  d.config = config;
  d.point = chooseOwnedSpanKernel(config, false);
  d.bilinear = chooseOwnedSpanKernel(config, true);
  if (!visibility_ || !d.point || !d.bilinear) return Mode::kResolveFirst;
  if (config.texture) d.texture = *config.texture;
  draws_.push_back(d);
  drawOpen_ = true;
  return Mode::kDefer;
}

void DeferredShading::drawClearing(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth) {
  if (clearConfig_) (bilinear ? clearBilinear_ : clearPoint_)(*clearConfig_, setup, color_, depth, owners_);
}

void DeferredShading::addTriangle(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth) {
  if (!drawOpen_) return;
  if (triangles_.size() == kMaxTriangles) {
    // Ids are used up: shade what is recorded and go on with the same draw.
    const Draw current = draws_.back();
    resolve();
    draws_.push_back(current);
  }
  const auto owner = static_cast<std::uint16_t>(triangles_.size() + 1);
  if (!visibility_(draws_.back().config, setup, depth, owners_, owner)) return;
  triangles_.push_back({setup, static_cast<std::uint32_t>(draws_.size() - 1), bilinear});
  rowFirst_ = std::min(rowFirst_, setup.rowFirst);
  rowLast_ = std::max(rowLast_, setup.rowLast);
  if (triangles_.size() == 1) enlist();
}

void DeferredShading::resolve() {
  if (!triangles_.empty()) {
    for (Draw& d : draws_)
      if (d.config.texture) d.config.texture = &d.texture;
    for (std::size_t i = 0; i < triangles_.size(); ++i) {
      const Triangle& t = triangles_[i];
      const Draw& d = draws_[t.draw];
      (t.bilinear ? d.bilinear : d.point)(d.config, t.setup, color_, owners_, static_cast<std::uint16_t>(i + 1));
    }
    const std::size_t rowBytes = static_cast<std::size_t>(owners_.pitch);
    std::memset(owners_.row(rowFirst_), 0, rowBytes * static_cast<std::size_t>(rowLast_ - rowFirst_ + 1));
    delist();
  }
  triangles_.clear();
  draws_.clear();
  drawOpen_ = false;
  rowFirst_ = kNoRow;
  rowLast_ = -1;
}

}  // namespace platform
