// The installed backend.
#include "platform/backend/Backend.h"

#include "platform/backend/HeadlessBackend.h"

namespace platform {
namespace {
// Never destroyed: objects released during static destruction may still reach the backend.
std::unique_ptr<Backend>& installed() {
  static auto* current = new std::unique_ptr<Backend>();
  return *current;
}
}  // namespace

Backend& backend() {
  if (!installed()) installed() = std::make_unique<HeadlessBackend>();
  return *installed();
}

std::unique_ptr<Backend> installBackend(std::unique_ptr<Backend> next) {
  std::unique_ptr<Backend> previous = std::move(installed());
  installed() = next ? std::move(next) : std::make_unique<HeadlessBackend>();
  return previous;
}

}  // namespace platform
