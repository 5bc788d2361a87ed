#include "geometry/CollisionBox.h"

const std::uint16_t kCollisionBoxTriangles[36] = {0, 3, 2, 0, 2, 1, 0, 1, 5, 0, 5, 4, 1, 2, 6, 1, 6, 5,
                                                  2, 3, 7, 2, 7, 6, 3, 0, 4, 3, 4, 7, 4, 5, 6, 4, 6, 7};

CollisionBox::CollisionBox(const Vector3& low, const Vector3& high)
    : corners{Vector3(low.x, low.y, low.z),  Vector3(high.x, low.y, low.z),  Vector3(high.x, high.y, low.z),
              Vector3(low.x, high.y, low.z), Vector3(low.x, low.y, high.z),  Vector3(high.x, low.y, high.z),
              Vector3(high.x, high.y, high.z), Vector3(low.x, high.y, high.z)} {}
