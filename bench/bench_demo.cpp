// The demo's attract run, headless: the scene built from the assets, the attract key script
// played through the headless backend, one benchmark iteration per frame (simulation, software
// rendering and the present into memory). The virtual clock moves 20 ms per loop turn, so the
// frame gate never waits. Frames 1-99 run untimed; frames 100-600 are timed one by one and the
// median milliseconds per frame is reported as the counter `median_ms`.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/DemoWindow.h"
#include "app/FrameDriver.h"
#include "app/SceneSetUp.h"
#include "app/SceneShutDown.h"
#include "app/SceneState.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/PlatformOptions.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWarmUpFrames = 99;
constexpr int kTimedFrames = 501;  // frames 100 to 600

fs::path assetFolder() { return fs::path(__FILE__).parent_path().parent_path() / "assets"; }

// One turn of the demo's loop: every waiting message, then the frame.
void loopTurn() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  runFrame();
}

void BM_AttractRun(benchmark::State& state) {
  // A private working folder holding the assets, as the demo expects them.
  std::string folder = (fs::temp_directory_path() / "qel-bench-demo-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::error_code error;
  fs::copy(assetFolder(), folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
  const fs::path before = fs::current_path();
  fs::current_path(folder);

  platform::resetWindowSystem();
  auto backend = std::make_unique<platform::HeadlessBackend>();
  platform::PlatformOptions options;
  options.headless = true;
  options.keysFile = "attract.keys";
  std::string problem;
  if (error || !backend->configure(options, problem)) {
    fs::current_path(before);
    state.SkipWithError(("cannot prepare the attract run: " + problem).c_str());
    return;
  }
  platform::installBackend(std::move(backend));
  HWND window = openDemoWindow(nullptr, nullptr, SW_SHOWNORMAL);
  setUpScene(window);
  for (int frame = 1; frame <= kWarmUpFrames; ++frame) loopTurn();

  std::vector<double> milliseconds;
  milliseconds.reserve(kTimedFrames);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    loopTurn();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(spent.count());
    milliseconds.push_back(spent.count() * 1000.0);
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  if (!milliseconds.empty()) state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];

  shutDownScene();
  scene = SceneState{};
  platform::resetWindowSystem();
  platform::installBackend(nullptr);
  fs::current_path(before);
  fs::remove_all(folder, error);
}

BENCHMARK(BM_AttractRun)->Iterations(kTimedFrames)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
