// The entries of a Renderer's table of textures and materials as qelmodel lists them: image
// entries (a BMP file's pixels in a surface) and material-only entries (colours and, maybe, a
// bound image entry).
#pragma once

#include <vector>

class Renderer;
class Texture;

// Every entry of the table, ordered by name (bytes); entries of the same name newest first.
std::vector<Texture*> tableEntries(Renderer& renderer);
// Whether `entry` holds an image (null: no).
bool isImageEntry(const Texture* entry);
// The image a mesh textured with `entry` is drawn with: the entry itself, or the image bound
// to a material entry; null when there is none.
const Texture* imageOf(const Texture* entry);
// The size of an image entry in pixels; false (sizes 0) for other entries.
bool imageSize(const Texture* entry, int& width, int& height);
