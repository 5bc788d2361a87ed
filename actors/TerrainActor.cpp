#include "actors/TerrainActor.h"

#include <new>
#include <string>

#include "actors/TerrainMessages.h"
#include "foundation/DebugLog.h"
#include "foundation/FileStream.h"
#include "geometry/HeightMapFile.h"
#include "geometry/TerrainGrid.h"

namespace {

// One log line: the message, a space, the file name in double quotes, CR LF.
void logTerrainProblem(const char* message, const char* fileName) {
  std::string line = message;
  line += " \"";
  line += fileName != nullptr ? fileName : "";
  line += "\"\r\n";
  appendToDebugLog(line.c_str());
}

const char* messageFor(HeightMapStatus status) {
  switch (status) {
    case HeightMapStatus::ShortHeader:
      return kHeightMapNotBmpMessage;
    case HeightMapStatus::NotTrueColour:
      return kHeightMapNot24BitMessage;
    case HeightMapStatus::BadDimensions:
      return kHeightMapBadSizeMessage;
    case HeightMapStatus::ShortPixelData:
    case HeightMapStatus::Ok:
      break;
  }
  return kHeightMapShortMessage;
}

}  // namespace

TerrainActor::~TerrainActor() { freeHeights(); }

void TerrainActor::freeHeights() {
  delete[] heights;
  heights = nullptr;
}

TerrainView TerrainActor::terrainView() const {
  return TerrainView{vertices, vertexCount, gridSize, cellSize, position()};
}

int TerrainActor::readHeights(const char* fileName, std::int32_t& rowBytes, std::int32_t& width,
                              std::int32_t& rows) {
  FileStream file;
  if (fileName == nullptr || !file.open(fileName, "rb")) return 0;  // the open failure is logged
  std::uint8_t header[kHeightMapHeaderBytes] = {};
  const std::int64_t fileLength = file.length();
  const bool headerRead = file.read(header, sizeof header) == 1;
  HeightMapLayout layout;
  const HeightMapStatus status =
      readHeightMapLayout(header, headerRead ? sizeof header : 0, headerRead ? fileLength : 0, layout);
  if (status != HeightMapStatus::Ok) {
    logTerrainProblem(messageFor(status), fileName);
    return 0;
  }
  heights = new (std::nothrow) std::uint8_t[static_cast<std::size_t>(layout.dataBytes)];
  if (heights == nullptr || file.seek(static_cast<std::int32_t>(kHeightMapPixelOffset)) != 0 ||
      file.read(heights, layout.dataBytes) != 1) {
    freeHeights();
    logTerrainProblem(kHeightMapShortMessage, fileName);
    return 0;
  }
  rowBytes = layout.rowBytes;
  width = layout.width;
  rows = layout.rows;
  return 1;
}

int TerrainActor::buildTerrain(const char* fileName, std::int32_t newGridSize, float newCellSize,
                               float newHeightScale) {
  gridSize = newGridSize;
  cellSize = newCellSize;
  heightScale = newHeightScale;
  freeHeights();
  freeMesh();
  if (!isTerrainGridSizeValid(gridSize)) {
    logTerrainProblem(kTerrainGridRefusedMessage, fileName);
    return 0;
  }
  HeightSamples samples;
  if (readHeights(fileName, samples.rowBytes, samples.width, samples.rows)) {
    samples.pixels = heights;
    if (!heightSamplesCover(samples, gridSize)) {
      logTerrainProblem(kHeightMapTooSmallMessage, fileName);
      freeHeights();
    }
  }
  samples.pixels = heights;  // null: flat ground
  if (allocateMesh(terrainVertexCount(gridSize), terrainIndexCount(gridSize)) == nullptr) {
    freeHeights();
    return 0;
  }
  buildTerrainIndices(indices, gridSize);
  buildTerrainVertices(vertices, gridSize, cellSize, heightScale, heights != nullptr ? &samples : nullptr);
  // Texture coordinates are left to planarTexCoords; start them at 0 rather than undefined.
  for (std::int32_t k = 0; k < vertexCount; ++k) vertices[k].tu = vertices[k].tv = 0.0f;
  return heights != nullptr;
}
