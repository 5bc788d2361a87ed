#include "foundation/TQelVFrame.h"

#include "foundation/ClassRegistry.h"

ClassRecord TQelVFrame::runtimeClass;

void TQelVFrame::extension1(std::uint32_t) {}
void TQelVFrame::extension2(std::uint32_t, std::uint32_t) {}
void TQelVFrame::extension3(std::uint32_t, std::uint32_t) {}
