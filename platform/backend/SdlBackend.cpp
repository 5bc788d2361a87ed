// The SDL2 backend.
#include "platform/backend/SdlBackend.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/backend/FrameSession.h"
#include "platform/backend/KeyMap.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"

// KeyMap.cpp numbers keys by USB HID usage without seeing SDL; SDL's scancodes are the same.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_Z == 29 && SDL_SCANCODE_1 == 30 &&
              SDL_SCANCODE_0 == 39 && SDL_SCANCODE_ESCAPE == 41 && SDL_SCANCODE_SPACE == 44 &&
              SDL_SCANCODE_F1 == 58 && SDL_SCANCODE_RIGHT == 79 && SDL_SCANCODE_UP == 82 &&
              SDL_SCANCODE_KP_1 == 89 && SDL_SCANCODE_KP_8 == 96 && SDL_SCANCODE_KP_0 == 98 &&
              SDL_SCANCODE_LSHIFT == 225 && SDL_SCANCODE_RSHIFT == 229);

namespace platform {

struct SdlBackend::State {
  PlatformOptions options;
  FrameSession session;
  HWND mainWindow = nullptr;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0;
  int textureHeight = 0;
  bool showingPrimary = false;
  bool fullScreen = false;
  bool presentedSinceIdle = false;

  // Copies a 16-bit image into the streaming texture and shows it letterboxed.
  void show(const PixelTarget& image) {
    if (!renderer || !image.bits || image.bitsPerPixel != 16 || image.width <= 0 ||
        image.height <= 0)
      return;
    if (!texture || textureWidth != image.width || textureHeight != image.height) {
      if (texture) SDL_DestroyTexture(texture);
      texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  image.width, image.height);
      textureWidth = image.width;
      textureHeight = image.height;
      SDL_RenderSetLogicalSize(renderer, image.width, image.height);  // keeps the aspect
      if (!texture) return;
    }
    SDL_UpdateTexture(texture, nullptr, image.bits, image.pitch);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
  }

  // Shows the current image again (after an expose or a mode change).
  void refresh() {
    if (showingPrimary && !lastPrimary.empty()) {
      PixelTarget image{lastPrimary.data(), primaryWidth, primaryHeight, primaryWidth * 2, 16};
      show(image);
    } else if (mainWindow) {
      show(windowImage(mainWindow));
    }
  }

  void applyWindowMode() {
    if (!window) return;
    bool desktop = fullScreen && !options.windowed;
    SDL_SetWindowFullscreen(window, desktop ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!desktop) SDL_SetWindowSize(window, 640, 480);
  }

  std::vector<std::uint16_t> lastPrimary;  // kept for refreshes
  int primaryWidth = 0;
  int primaryHeight = 0;
};

SdlBackend::SdlBackend() : state_(std::make_unique<State>()) {}

SdlBackend::~SdlBackend() {
  if (state_->texture) SDL_DestroyTexture(state_->texture);
  if (state_->renderer) SDL_DestroyRenderer(state_->renderer);
  if (state_->window) SDL_DestroyWindow(state_->window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
}

std::unique_ptr<SdlBackend> SdlBackend::open(const PlatformOptions& options, std::string& error) {
  // Without any display named in the environment SDL can only fail; say so without
  // starting it (a failed start also leaves SDL's probing allocations behind).
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER")) {
    error = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    return nullptr;
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    SDL_Quit();
    return nullptr;
  }
  std::unique_ptr<SdlBackend> result(new SdlBackend());
  result->state_->options = options;
  return result;
}

bool SdlBackend::configure(const PlatformOptions& options, std::string& error) {
  state_->options = options;
  return state_->session.configure(options, error);
}

void SdlBackend::windowCreated(HWND window, const char* title, int width, int height) {
  State& s = *state_;
  if (s.window) return;  // one host window: the program's first
  s.mainWindow = window;
  s.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!s.window) {
    SDL_Log("cannot create a window: %s", SDL_GetError());
    return;
  }
  // No vsync: the program paces itself at 20 ms, and waiting for a 60 Hz blank on top of
  // that would drop it to 30 frames per second.
  s.renderer = SDL_CreateRenderer(s.window, -1, 0);
  if (!s.renderer) s.renderer = SDL_CreateRenderer(s.window, -1, SDL_RENDERER_SOFTWARE);
  s.applyWindowMode();
}

void SdlBackend::windowShown(HWND window, bool visible) {
  State& s = *state_;
  if (window != s.mainWindow || !s.window) return;
  if (visible) {
    SDL_ShowWindow(s.window);
    s.refresh();
  } else {
    SDL_HideWindow(s.window);
  }
}

void SdlBackend::windowDestroyed(HWND window) {
  State& s = *state_;
  if (window != s.mainWindow) return;
  if (s.texture) SDL_DestroyTexture(s.texture);
  if (s.renderer) SDL_DestroyRenderer(s.renderer);
  if (s.window) SDL_DestroyWindow(s.window);
  s.texture = nullptr;
  s.renderer = nullptr;
  s.window = nullptr;
  s.mainWindow = nullptr;
}

void SdlBackend::windowPainted(HWND window, const PixelTarget& image) {
  State& s = *state_;
  if (window == s.mainWindow && !s.showingPrimary) s.show(image);
}

void SdlBackend::displayModeChanged(bool fullScreen) {
  state_->fullScreen = fullScreen;
  state_->applyWindowMode();
  state_->refresh();
}

void SdlBackend::primaryPresented(const PixelTarget& image) {
  State& s = *state_;
  s.showingPrimary = true;
  s.presentedSinceIdle = true;
  if (image.bitsPerPixel == 16 && image.bits) {
    s.primaryWidth = image.width;
    s.primaryHeight = image.height;
    s.lastPrimary.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y)
      std::memcpy(&s.lastPrimary[std::size_t(y) * std::size_t(image.width)],
                  static_cast<const std::uint8_t*>(image.bits) + std::size_t(y) * std::size_t(image.pitch),
                  std::size_t(image.width) * 2);
  }
  s.show(image);
  s.session.framePresented(image);
}

void SdlBackend::primaryReleased() {
  state_->showingPrimary = false;
  state_->lastPrimary.clear();
  state_->refresh();
}

void SdlBackend::pollInput() {
  State& s = *state_;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        int key = virtualKeyForScancode(event.key.keysym.scancode);
        if (key == 0) break;
        if (event.type == SDL_KEYDOWN)
          postKeyDown(key);  // an auto-repeat arrives as another down while still down
        else
          postKeyUp(key);
        break;
      }
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE && s.mainWindow)
          PostMessageA(s.mainWindow, WM_CLOSE, 0, 0);
        else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                 event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          s.refresh();
        break;
      case SDL_QUIT:
        if (s.mainWindow) PostMessageA(s.mainWindow, WM_CLOSE, 0, 0);
        break;
      default:
        break;
    }
  }
  s.session.poll();
}

void SdlBackend::idleTurn() {
  State& s = *state_;
  s.session.idleTurn(false);
  // The program's loop spins without sleeping; when a whole turn presented nothing, give
  // the processor back for a millisecond (a 20 ms frame gate is unaffected).
  if (!s.presentedSinceIdle) SDL_Delay(1);
  s.presentedSinceIdle = false;
}

DWORD SdlBackend::milliseconds() { return DWORD(SDL_GetTicks()); }

}  // namespace platform
