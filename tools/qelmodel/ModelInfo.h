// What the reader made of a model file, printed for people (text) or scripts (JSON): the frame
// tree with names and transforms, each mesh's counts, bounds, material and texture, every
// entry of the Renderer's table (ordered by name) and the
// debug-log lines written while loading. Names and log lines are converted from Shift-JIS to
// UTF-8.
#pragma once

#include <string>
#include <vector>

class Renderer;
class TQelXFrame;

struct InfoOptions {
  bool json = false;
  bool full = false;  // with json: every vertex and face too
};

// The report of `root` (null: no model) loaded from `file` into the table of `renderer`, with
// the debug-log lines the loading wrote.
std::string modelInfo(const std::string& file, const TQelXFrame* root, Renderer& renderer,
                      const std::vector<std::string>& logLines, const InfoOptions& options);
