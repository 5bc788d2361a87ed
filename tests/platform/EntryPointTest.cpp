// The platform entry point: options, a headless run of a small WinMain with a frame limit,
// scripted keys and captures, and the no-display message of the real executable.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/backend/PlatformOptions.h"
#include "platform/bitmap/PngFile.h"
#include "platform/ddraw/DDraw.h"
#include "platform/gdi/WinGdi.h"
#include "platform/main/PlatformEntry.h"
#include "platform/win32/MMSystem.h"
#include "tests/platform/probe/ProbeDisplay.h"
#include "tests/platform/PlatformFixture.h"
#include "tests/support/test_files.h"

namespace platformtest {
namespace {

bool parse(std::vector<const char*> args, platform::PlatformOptions& options, std::string& error) {
  args.insert(args.begin(), "program");
  return platform::parsePlatformOptions(int(args.size()), args.data(), options, error);
}

TEST(PlatformOptions, EveryOptionIsRead) {
  platform::PlatformOptions options;
  std::string error;
  ASSERT_TRUE(parse({"--headless", "--windowed", "--frames", "25", "--keys", "k.txt", "--capture",
                     "shots", "--capture-every", "5"},
                    options, error))
      << error;
  EXPECT_TRUE(options.headless);
  EXPECT_TRUE(options.windowed);
  EXPECT_EQ(options.frameLimit, 25);
  EXPECT_EQ(options.keysFile, "k.txt");
  EXPECT_EQ(options.captureDirectory, "shots");
  EXPECT_EQ(options.captureEvery, 5);
  platform::PlatformOptions defaults;
  ASSERT_TRUE(parse({}, defaults, error));
  EXPECT_FALSE(defaults.headless);
  EXPECT_EQ(defaults.frameLimit, 0);
  EXPECT_EQ(defaults.captureEvery, 1);
}

TEST(PlatformOptions, BadOptionsAreRefusedWithAReason) {
  platform::PlatformOptions options;
  std::string error;
  EXPECT_FALSE(parse({"--frames"}, options, error));
  EXPECT_FALSE(parse({"--frames", "0"}, options, error));
  EXPECT_FALSE(parse({"--frames", "-3"}, options, error));
  EXPECT_FALSE(parse({"--frames", "12x"}, options, error));
  EXPECT_FALSE(parse({"--frames", "99999999999999999999"}, options, error));
  EXPECT_FALSE(parse({"--capture-every", "0"}, options, error));
  EXPECT_FALSE(parse({"--keys"}, options, error));
  EXPECT_FALSE(parse({"--fullscreen"}, options, error));
  EXPECT_NE(error.find("--fullscreen"), std::string::npos);
}

// A small program: a window whose WM_PAINT greets, and a frame loop gated on 20 ms that
// fills the back buffer with a colour by frame number, presents it, ends on Escape and
// counts the frames in which Space was down.
struct ProbeState {
  int frames = 0;
  int spaceFrames = 0;
  int paints = 0;
  std::string commandLine = "unset";
  HINSTANCE previous = reinterpret_cast<HINSTANCE>(1);
  int showCommand = -1;
} gProbe;

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      TextOutA(dc, 10, 10, "Hello, World!", 13);
      EndPaint(window, &paint);
      ++gProbe.paints;
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

int WINAPI probeWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  gProbe = ProbeState{};
  gProbe.commandLine = commandLine;
  gProbe.previous = previous;
  gProbe.showCommand = showCommand;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = probeProcedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "probe";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, "probe", "Test", WS_OVERLAPPEDWINDOW, 0, 0, 640,
                                480, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  ProbeDisplay display;
  display.open(window);

  DWORD lastFrame = 0;
  int result = -1;
  for (;;) {
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (message.message == WM_QUIT) {
        result = int(message.wParam);
        quit = true;
        break;
      }
    }
    if (quit) break;
    if (timeGetTime() - lastFrame < 20) continue;
    lastFrame = timeGetTime();
    ++gProbe.frames;
    if (GetKeyState(VK_SPACE) & 0xFF00) ++gProbe.spaceFrames;
    display.present(DWORD(gProbe.frames));
  }
  display.release();
  return result;
}

class EntryPoint : public PlatformTest {};

int runEntry(std::vector<const char*> args) {
  args.insert(args.begin(), "probe");
  return platform::runPlatformMain(int(args.size()), const_cast<char**>(args.data()), probeWinMain);
}

TEST_F(EntryPoint, HeadlessRunEndsAfterTheFrameLimitAsIfEscapeWerePressed) {
  EXPECT_EQ(runEntry({"--headless", "--frames", "30"}), 0);
  EXPECT_EQ(gProbe.frames, 30);
  EXPECT_EQ(gProbe.commandLine, "");
  EXPECT_EQ(gProbe.previous, nullptr);
  EXPECT_EQ(gProbe.showCommand, SW_SHOWNORMAL);
  EXPECT_GE(gProbe.paints, 1);
  EXPECT_EQ(platform::liveWindowCount(), 0);
}

TEST_F(EntryPoint, ScriptedKeysAreDownForTheirFrames) {
  ASSERT_TRUE(qeltest::writeFileText("keys.txt", "5 down SPACE\n8 up SPACE\n12 press space\n"));
  EXPECT_EQ(runEntry({"--headless", "--frames", "20", "--keys", "keys.txt"}), 0);
  EXPECT_EQ(gProbe.frames, 20);
  EXPECT_EQ(gProbe.spaceFrames, 3 + 1);  // frames 5, 6, 7 and 12
}

TEST_F(EntryPoint, CapturesEveryKthFrameAsPng) {
  EXPECT_EQ(runEntry({"--headless", "--frames", "6", "--capture", "shots", "--capture-every", "3"}), 0);
  EXPECT_TRUE(qeltest::fileExists("shots/frame_000003.png"));
  EXPECT_TRUE(qeltest::fileExists("shots/frame_000006.png"));
  EXPECT_FALSE(qeltest::fileExists("shots/frame_000001.png"));
  platform::RgbaImage image;
  ASSERT_TRUE(platform::readPngRgba("shots/frame_000006.png", image));
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(image.height, 480);
  // Frame 6 filled the screen with the raw 565 value 6: blue 6 of 31, widened to 8 bits.
  EXPECT_EQ(image.pixels[0], 0);
  EXPECT_EQ(image.pixels[2], (6 << 3) | (6 >> 2));
}

TEST_F(EntryPoint, BadOptionsAndBadScriptsStopBeforeWinMain) {
  gProbe.frames = -7;
  EXPECT_EQ(runEntry({"--headless", "--bogus"}), platform::kExitBadOptions);
  EXPECT_EQ(runEntry({"--headless", "--keys", "missing.txt"}), platform::kExitBadOptions);
  EXPECT_EQ(gProbe.frames, -7);  // WinMain never ran
}

// The real executable, without a display and without --headless.
TEST(EntryPointProcess, WithoutADisplayItSaysHowToRunHeadlessAndFails) {
  std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ") +
                        QEL_ENTRY_PROBE + " --frames 3 > out.txt 2> err.txt";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), platform::kExitNoDisplay);
  std::string message = qeltest::readFileText("err.txt");
  EXPECT_NE(message.find("--headless"), std::string::npos) << message;
}

TEST(EntryPointProcess, HeadlessTheSameExecutableRunsToItsFrameLimit) {
  std::string command = std::string(QEL_ENTRY_PROBE) + " --headless --frames 5 > out.txt 2> err.txt";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << qeltest::readFileText("err.txt");
  EXPECT_NE(qeltest::readFileText("out.txt").find("frames 5"), std::string::npos);
}

}  // namespace
}  // namespace platformtest

namespace platformtest {
namespace {

// A program that never presents and ignores Escape, but quits when its window goes.
LRESULT CALLBACK stubbornProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) return 0;
  if (message == WM_DESTROY) {
    PostQuitMessage(5);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int gStubbornTurns = 0;

int WINAPI stubbornWinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = stubbornProcedure;
  windowClass.lpszClassName = "stubborn";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "stubborn", "Test", 0, 0, 0, 640, 480, nullptr, nullptr,
                                nullptr, nullptr);
  ShowWindow(window, showCommand);
  gStubbornTurns = 0;
  for (; gStubbornTurns < 100000; ++gStubbornTurns) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&message);
      if (message.message == WM_QUIT) return int(message.wParam);
    }
  }
  return -1;
}

TEST_F(EntryPoint, AFrameLimitEndsEvenAProgramThatNeverPresentsNorHandlesEscape) {
  const char* args[] = {"stubborn", "--headless", "--frames", "3"};
  EXPECT_EQ(platform::runPlatformMain(4, const_cast<char**>(args), stubbornWinMain), 5);
  EXPECT_LT(gStubbornTurns, 300);  // 250 idle turns without a picture, then 10 more for WM_CLOSE
}

// The SDL2 backend on SDL's "dummy" video driver: a window, a renderer, presents, the limit.
TEST(EntryPointProcess, TheSdlBackendRunsOnSdlsDummyDriver) {
  std::string command = std::string("env SDL_VIDEODRIVER=dummy ") + QEL_ENTRY_PROBE +
                        " --frames 4 --capture sdlshots > out.txt 2> err.txt";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << qeltest::readFileText("err.txt");
  EXPECT_NE(qeltest::readFileText("out.txt").find("frames 4"), std::string::npos);
  EXPECT_TRUE(qeltest::fileExists("sdlshots/frame_000004.png"));
}

}  // namespace
}  // namespace platformtest
