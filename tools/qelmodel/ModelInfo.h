// What the reader made of a model file, printed for people (text) or scripts (JSON): the frame
// tree with names and transforms, each mesh's counts, bounds, material and texture, every
// material entry the file registered and the debug-log lines written while loading.
// Names and log lines are converted from Shift-JIS to UTF-8.
#pragma once

#include <string>

class ModelTable;
class TQelXFrame;

struct InfoOptions {
  bool json = false;
  bool full = false;  // with json: every vertex and face too
};

// The report of `root` (null: no model) loaded from `file` into `table`.
std::string modelInfo(const std::string& file, const TQelXFrame* root, const ModelTable& table,
                      const InfoOptions& options);
