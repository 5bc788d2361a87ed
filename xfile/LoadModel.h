// loadModel: the entry point of the .x reader. Reads the whole file into memory, passes over
// "template" and "Header" blocks and every token it does not know, and dispatches the top
// level: Material (registered with the renderer), Frame (the result; a later one replaces and
// destroys the earlier), Mesh (wrapped in a new unnamed frame; reading stops there).
// Nothing is reported about a file's content; a file that cannot be opened leaves the
// foundation's open-failure line in the debug log.
#pragma once

class MaterialSink;
class TextStream;
class TQelXFrame;

// The root frame of the model in `fileName` (owned by the caller: release it), or null when
// the file cannot be read, is empty, or holds neither a top-level Frame nor a top-level Mesh.
TQelXFrame* loadModel(MaterialSink& renderer, const char* fileName);
// The same reading over text already in memory, from its current position.
TQelXFrame* readModel(MaterialSink& renderer, TextStream& text);

// Registers TQelXMesh and TQelXFrame in the class registry, once. Runs by itself during
// static initialisation of any program that links loadModel.
void registerXFileClasses();
