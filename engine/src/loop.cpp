// The window, the renderer and the frame loop, with the headless hooks (script, frame limit, statistics).
#include "bake.h"
#include "copy_cache.h"
#include "engine.h"
#include "hooks.h"
#include "replay.h"
#include "screen.h"
#include "script.h"
#include "soft_frame.h"
#include "workers.h"

#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <set>
#include <utility>
#include <vector>

namespace zorbel {

Video gVideo;

bool IsSoftwareRenderer(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(renderer, &info) == 0 && std::strcmp(info.name, "software") == 0;
}

namespace {

constexpr int kProcedureKinds = 4;
constexpr int kFrame = 0, kLoad = 1, kInput = 2, kSplash = 3;
constexpr double kCapFrameMs = 1000.0 / 60.0;
// Frames this much shorter than the display's refresh period, many in a row, mean v-sync is not waiting.
constexpr double kVsyncShortFraction = 0.75;
constexpr int kShortFramesBeforeCap = 10;

// What the game set before ZB_Init.
struct Settings {
    ZB_Procedure procedures[kProcedureKinds] = {};
    ZB_DigestProcedure digest = nullptr;
    int width = kLogicalWidth, height = kLogicalHeight;
    bool vsync = true;
    bool fullscreen = false;
    std::string title = "Zorbel";
};

// Environment hooks, read when ZB_Init starts.
struct Hooks {
    bool headless = false;
    std::string renderer;
    std::string inputFile;
    uint64_t maxFrames = 0;
    std::string statsFile;
    uint64_t digestEvery = 0;
};

struct LoopState {
    bool quit = false;
    uint64_t frame = 0;
    bool capFrames = false;
    double refreshMs = kCapFrameMs;
    int shortFrames = 0;
    Uint64 lastFrameStart = 0;
    int fullScreenChange = 0; // what ZB_FullScreenChange answers next
    std::deque<double> shown; // engine times of the frames presented in the last second
    std::vector<double> frameMs;
    std::vector<script::Event> script;
    size_t nextEvent = 0;
    std::vector<std::pair<uint64_t, uint64_t>> digests; // frame, digest
};

Settings gSettings;
LoopState gLoop;
std::set<std::string> gReported;

// More frames than anyone will run; a larger limit is a typo, not a wish.
constexpr uint64_t kMaxFrameLimit = 1'000'000'000'000;

Hooks ReadHooks() {
    Hooks h;
    h.headless = clock::IsVirtual();
    h.renderer = hooks::Text("ZORBEL_RENDERER");
    h.inputFile = hooks::Text("ZORBEL_INPUT");
    h.statsFile = hooks::Text("ZORBEL_STATS");
    h.maxFrames = hooks::WholeNumber("ZORBEL_MAX_FRAMES", 1, kMaxFrameLimit, 0);
    h.digestEvery = hooks::WholeNumber("ZORBEL_DIGEST_EVERY", 1, kMaxFrameLimit, 0);
    if (h.digestEvery && h.statsFile.empty())
        hooks::Refuse("ZORBEL_DIGEST_EVERY needs ZORBEL_STATS, the file the digests are written to");
    return h;
}

int FindRenderDriver(const std::string& name) {
    for (int i = 0, n = SDL_GetNumRenderDrivers(); i < n; ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && name == info.name) return i;
    }
    return -1;
}

bool CreateRenderer(const Hooks& hooks) {
    std::vector<std::string> order;
    if (!hooks.renderer.empty())
        order = {hooks.renderer, "software"};
    else if (hooks.headless)
        order = {"software"};
    else
        order = {"opengl", "opengles2", "software"};
    for (const std::string& name : order) {
        const int index = FindRenderDriver(name);
        if (index < 0) {
            Report("renderer %s is not available", name.c_str());
            continue;
        }
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        Uint32 flags = name == "software" ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED;
        if (gSettings.vsync && !hooks.headless) flags |= SDL_RENDERER_PRESENTVSYNC;
        gVideo.renderer = SDL_CreateRenderer(gVideo.window, index, flags | SDL_RENDERER_TARGETTEXTURE);
        if (gVideo.renderer) {
            SDL_RendererInfo info;
            SDL_GetRendererInfo(gVideo.renderer, &info);
            gLoop.capFrames = !hooks.headless && !(info.flags & SDL_RENDERER_PRESENTVSYNC);
            SDL_DisplayMode mode;
            if (SDL_GetWindowDisplayMode(gVideo.window, &mode) == 0 && mode.refresh_rate > 0)
                gLoop.refreshMs = 1000.0 / mode.refresh_rate;
            return true;
        }
        Report("cannot create the %s renderer: %s", name.c_str(), SDL_GetError());
    }
    return false;
}

// Without a window manager nobody resizes a window that asks to be full screen, while SDL takes it to cover
// the desktop: the picture would land scaled for the desktop and cropped to the window. So a window is given
// the desktop's size itself before it goes full screen, and the logical size, centred, when it comes back.
void PlaceFullScreen(bool on) {
    SDL_Window* w = gVideo.window;
    if (on) {
        SDL_Rect desktop;
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(w)), &desktop) == 0) {
            SDL_SetWindowPosition(w, desktop.x, desktop.y);
            SDL_SetWindowSize(w, desktop.w, desktop.h);
        }
    }
    if (SDL_SetWindowFullscreen(w, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        Report("cannot switch %s: %s", on ? "to full screen" : "to a window", SDL_GetError());
    if (!on) {
        SDL_SetWindowSize(w, gSettings.width, gSettings.height);
        SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

bool OpenVideo(const Hooks& hooks) {
    // Headless runs need no display; the offscreen driver also gives the GL renderers a surface to draw on.
    if (hooks.headless && zorbel::hooks::Text("SDL_VIDEODRIVER").empty())
        SDL_SetHint(SDL_HINT_VIDEODRIVER,
                    hooks.renderer.empty() || hooks.renderer == "software" ? "dummy" : "offscreen");
    // A headless window never has the focus, without which SDL would not hear the script's gamepad.
    if (hooks.headless) SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        Report("cannot start SDL video: %s", SDL_GetError());
        return false;
    }
    // The keyboard and the mouse do without gamepads. SDL_GAMECONTROLLERCONFIG adds mappings here.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) Report("no gamepads: %s", SDL_GetError());
    // Without a display SDL falls back to a driver whose window nobody can see, reach or close.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (!hooks.headless && (driver == "offscreen" || driver == "dummy") &&
        zorbel::hooks::Text("SDL_VIDEODRIVER").empty()) {
        Report(
            "no display found (SDL could only offer its %s video driver); run the game on a desktop, or set "
            "ZORBEL_HEADLESS=1 to run it without a window",
            driver.c_str());
        return false;
    }
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
    gVideo.logicalW = gSettings.width;
    gVideo.logicalH = gSettings.height;
    Uint32 flags = hooks.headless ? SDL_WINDOW_HIDDEN : SDL_WINDOW_RESIZABLE;
    // Made full screen at the desktop's size, for the reason PlaceFullScreen gives.
    SDL_Rect place{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, gSettings.width, gSettings.height};
    if (gSettings.fullscreen && !hooks.headless) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        SDL_GetDisplayBounds(0, &place);
    }
    gVideo.window = SDL_CreateWindow(gSettings.title.c_str(), place.x, place.y, place.w, place.h, flags);
    if (!gVideo.window) {
        Report("cannot open the window: %s", SDL_GetError());
        return false;
    }
    if (!CreateRenderer(hooks)) return false;
    SDL_RenderSetLogicalSize(gVideo.renderer, gSettings.width, gSettings.height);
    // The game draws its own cursor.
    SDL_ShowCursor(SDL_DISABLE);
    if (!screen::CreatePicture() || !draw::CreateResources()) return false;
    copycache::Configure(gVideo.renderer);
    softframe::Configure(gVideo.renderer, gVideo.picture);
    bake::Configure(gVideo.renderer);
    return true;
}

void CloseVideo() {
    virtualpad::Disconnect();
    pad::CloseAll();
    softframe::Reset();
    text::DestroyAll();
    textures::Reset();
    draw::Reset();
    screen::DestroyPicture();
    if (gVideo.renderer) SDL_DestroyRenderer(gVideo.renderer);
    if (gVideo.window) SDL_DestroyWindow(gVideo.window);
    gVideo = Video{};
    IMG_Quit();
    SDL_Quit();
}

void PumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            gLoop.quit = true;
            break;
        case SDL_RENDER_TARGETS_RESET:
            // The ground marks are gone; transparent beats garbage.
            ReportOnce("targets-reset", "the renderer lost its render targets; they start again transparent");
            textures::ClearTargets();
            break;
        case SDL_RENDER_DEVICE_RESET:
            // Every texture is lost with the device and cannot be touched until it is made anew.
            ReportOnce("device-reset", "the renderer lost its device; pictures may be missing until restart");
            break;
        default:
            // A replay's input comes from its recording alone.
            if (replay::Replaying()) break;
            input::HandleEvent(event);
            pad::HandleEvent(event);
        }
    }
}

// Applies the script's events up to this frame; screenshots wait until the frame is drawn.
std::vector<std::string> ApplyScript() {
    std::vector<std::string> screenshots;
    using Kind = script::Event::Kind;
    for (; gLoop.nextEvent < gLoop.script.size() && gLoop.script[gLoop.nextEvent].frame <= gLoop.frame;
         ++gLoop.nextEvent) {
        const script::Event& e = gLoop.script[gLoop.nextEvent];
        const bool input = e.kind != Kind::Screenshot && e.kind != Kind::Quit;
        if (input && replay::Replaying()) continue;
        switch (e.kind) {
        case Kind::Mouse:
            input::SetMouseLogical(e.x, e.y);
            break;
        case Kind::KeyDown:
            input::SetKey(e.code, true);
            break;
        case Kind::KeyUp:
            input::SetKey(e.code, false);
            break;
        case Kind::ButtonDown:
            input::SetMouseButton(e.code, true);
            break;
        case Kind::ButtonUp:
            input::SetMouseButton(e.code, false);
            break;
        case Kind::Screenshot:
            screenshots.push_back(e.file);
            break;
        case Kind::Quit:
            gLoop.quit = true;
            break;
        case Kind::FocusLost:
            input::ReleaseAll();
            break;
        case Kind::PadConnect:
            virtualpad::Connect();
            break;
        case Kind::PadDisconnect:
            virtualpad::Disconnect();
            break;
        case Kind::PadButtonDown:
        case Kind::PadButtonUp:
            virtualpad::SetButton(e.code, e.kind == Kind::PadButtonDown);
            break;
        case Kind::PadAxis:
            virtualpad::SetAxis(e.code, e.value);
            break;
        }
    }
    return screenshots;
}

void ClearScreen() {
    if (textures::RenderingIntoTarget()) Tex_EndRenderIn();
    screen::DrawIntoPicture();
    softframe::Clear();
}

bool SaveScreenshot(const std::string& file) {
    SDL_Surface* picture = screen::ReadLogicalPicture();
    const bool saved = picture && IMG_SavePNG(picture, file.c_str()) == 0;
    if (!saved) Report("cannot write the screenshot %s: %s", file.c_str(), SDL_GetError());
    SDL_FreeSurface(picture);
    return saved;
}

void CountShownFrame() {
    const double now = clock::Now();
    gLoop.shown.push_back(now);
    while (!gLoop.shown.empty() && gLoop.shown.front() <= now - 1000.0)
        gLoop.shown.pop_front();
}

// Without a v-sync that really waits, the loop sleeps to about 60 frames a second instead of spinning.
void PaceFrame(Uint64 frameStart, double workMs) {
    if (!gLoop.capFrames && gLoop.lastFrameStart) {
        const double intervalMs = static_cast<double>(frameStart - gLoop.lastFrameStart) * 1000.0 /
                                  static_cast<double>(SDL_GetPerformanceFrequency());
        gLoop.shortFrames = intervalMs < kVsyncShortFraction * gLoop.refreshMs ? gLoop.shortFrames + 1 : 0;
        if (gLoop.shortFrames >= kShortFramesBeforeCap) {
            Report("v-sync does not wait here; capping the frame rate at 60");
            gLoop.capFrames = true;
        }
    }
    gLoop.lastFrameStart = frameStart;
    if (gLoop.capFrames && workMs < kCapFrameMs) SDL_Delay(static_cast<Uint32>(kCapFrameMs - workMs));
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(rank, values.size() - 1)];
}

// False, after saying why, when the file could not be written whole.
bool WriteStats(const std::string& file, uint64_t digestEvery) {
    FILE* out = std::fopen(file.c_str(), "w");
    if (!out) {
        Report("%s: cannot write the statistics: %s", file.c_str(), std::strerror(errno));
        return false;
    }
    std::fprintf(out, "{\"frames\": %llu, \"frame_ms\": {\"median\": %.3f, \"p99\": %.3f, \"max\": %.3f}",
                 static_cast<unsigned long long>(gLoop.frameMs.size()), Percentile(gLoop.frameMs, 0.5),
                 Percentile(gLoop.frameMs, 0.99), Percentile(gLoop.frameMs, 1.0));
    if (digestEvery) {
        // One digest per line, so two runs compare with diff.
        std::fputs(", \"digests\": [", out);
        for (size_t i = 0; i < gLoop.digests.size(); ++i)
            std::fprintf(out, "%s\n  {\"frame\": %llu, \"digest\": \"%016llx\"}", i ? "," : "",
                         static_cast<unsigned long long>(gLoop.digests[i].first),
                         static_cast<unsigned long long>(gLoop.digests[i].second));
        std::fputs("\n]", out);
    }
    std::fputs("}\n", out);
    // A write that failed on the way leaves the stream's error set; the last bytes go out with the close.
    const bool failedOnTheWay = std::ferror(out) != 0;
    const int code = errno;
    if (std::fclose(out) != 0 || failedOnTheWay) {
        Report("%s: cannot write the statistics: %s", file.c_str(),
               std::strerror(failedOnTheWay ? code : errno));
        return false;
    }
    return true;
}

double MsSince(Uint64 start) {
    return static_cast<double>(SDL_GetPerformanceCounter() - start) * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

// The game's state digest at the end of every digestEvery-th frame.
void TakeDigest(uint64_t digestEvery) {
    if (!digestEvery || gLoop.frame % digestEvery != 0) return;
    if (!gSettings.digest) {
        ReportOnce("no-digest", "ZORBEL_DIGEST_EVERY: the program registered no digest procedure");
        return;
    }
    gLoop.digests.emplace_back(gLoop.frame, gSettings.digest());
}

void RunFrames(const Hooks& hooks) {
    if (replay::Replaying() && replay::FrameCount() == 0) gLoop.quit = true;
    while (!gLoop.quit) {
        const Uint64 start = SDL_GetPerformanceCounter();
        ++gLoop.frame;
        const double now = clock::BeginFrame(gLoop.frame);
        PumpEvents();
        const std::vector<std::string> screenshots = ApplyScript();
        // A replay's input comes from its recording alone; otherwise the pads and a player made of code may
        // add their own.
        if (replay::Replaying()) {
            for (const replay::InputEvent& e : replay::FrameEvents(gLoop.frame))
                input::Apply(e);
        } else {
            pad::Update();
            if (gSettings.procedures[kInput]) gSettings.procedures[kInput]();
        }
        timers::RunDue(now);
        ClearScreen();
        pad::ForgetScreen();
        if (gSettings.procedures[kFrame]) gSettings.procedures[kFrame]();
        if (textures::RenderingIntoTarget()) {
            ReportOnce("open-target", "the frame ended while drawing into a texture");
            Tex_EndRenderIn();
        }
        TakeDigest(hooks.digestEvery);
        for (const std::string& file : screenshots)
            SaveScreenshot(file);
        screen::Present();
        bake::Settle(); // queued draws use the copy cache's scaled pictures, which may go now
        copycache::EndFrame();
        CountShownFrame();
        const double workMs = MsSince(start);
        gLoop.frameMs.push_back(workMs);
        if (hooks.maxFrames && gLoop.frame >= hooks.maxFrames) gLoop.quit = true;
        if (replay::Replaying() && gLoop.frame >= replay::FrameCount()) gLoop.quit = true;
        if (!hooks.headless) PaceFrame(start, workMs);
    }
}

// Everything goes back to its start values, so the engine can be started again in the same process.
void EndRun() {
    CloseVideo();
    workers::Stop();
    timers::Reset();
    clock::Reset();
    input::Reset();
    replay::Reset();
    gSettings = Settings{};
    gLoop = LoopState{};
    gReported.clear();
}

} // namespace

namespace window {

void SwitchFullScreen() {
    gSettings.fullscreen = !gSettings.fullscreen;
    gLoop.fullScreenChange = gSettings.fullscreen ? 1 : 2;
    // A headless run keeps its hidden window as it is and only tells the program.
    if (gVideo.window && !clock::IsVirtual()) PlaceFullScreen(gSettings.fullscreen);
}

} // namespace window

void Report(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::fputs("zorbel: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
}

void ReportOnce(const std::string& key, const std::string& message) {
    if (gReported.insert(key).second) Report("%s", message.c_str());
}

} // namespace zorbel

using namespace zorbel;

int32_t ZB_Version(void) {
    return ZORBEL_API_VERSION;
}

void ZB_Init(int32_t, int32_t) {
    const Hooks hooks = ReadHooks();
    if (!hooks.inputFile.empty()) {
        std::string error;
        if (!script::Load(hooks.inputFile, gLoop.script, error)) zorbel::hooks::Refuse(error);
    }
    if (!OpenVideo(hooks)) {
        CloseVideo();
        std::exit(1);
    }
    // The splash is shown at once, so it stays on screen while the load procedure works.
    ClearScreen();
    if (gSettings.procedures[kSplash]) gSettings.procedures[kSplash]();
    if (textures::RenderingIntoTarget()) Tex_EndRenderIn();
    screen::Present();
    if (gSettings.procedures[kLoad]) gSettings.procedures[kLoad]();
    RunFrames(hooks);
    const bool recorded = replay::Finish();
    const bool counted = hooks.statsFile.empty() || WriteStats(hooks.statsFile, hooks.digestEvery);
    EndRun();
    // Whoever asked for the recording or the statistics must not take a run that lost them for a good one.
    if (!recorded || !counted) std::exit(2);
}

void ZB_Quit(void) {
    gLoop.quit = true;
}

void ZB_RegDigest(ZB_DigestProcedure proc) {
    gSettings.digest = proc;
}

void ZB_RegProcedure(int32_t kind, ZB_Procedure proc) {
    if (kind == kFrame || kind == kLoad || kind == kInput || kind == kSplash)
        gSettings.procedures[kind] = proc;
    else
        Report("ZB_RegProcedure: unknown procedure kind %d", kind);
}

// The option bits change nothing here: this engine always uses what they switch on.
void ZB_Enable(int32_t option) {
    if (option != 1 && option != 2 && option != 4) Report("ZB_Enable: unknown option %d", option);
}

void ZB_SetScreenOptions(int32_t width, int32_t height, int32_t, int32_t, int32_t vsync, int32_t fullscreen) {
    if (width <= 0 || height <= 0) {
        Report("ZB_SetScreenOptions: %dx%d is not a screen size", width, height);
        return;
    }
    gSettings.width = width;
    gSettings.height = height;
    gSettings.vsync = vsync != 0;
    gSettings.fullscreen = fullscreen == 1;
}

void ZB_SetAdvancedOptions(int32_t, int32_t, int32_t) {}

void ZB_SetWndName(const char* title) {
    gSettings.title = title ? title : "";
    if (gVideo.window) SDL_SetWindowTitle(gVideo.window, gSettings.title.c_str());
}

int32_t ZB_GetFPS(void) {
    return static_cast<int32_t>(gLoop.shown.size());
}

int32_t ZB_FullScreenChange(void) {
    return std::exchange(gLoop.fullScreenChange, 0);
}

int32_t ZB_SaveScreenshot(const char* file) {
    if (!file || !*file) {
        Report("ZB_SaveScreenshot: no file name");
        return 0;
    }
    if (!gVideo.renderer) {
        Report("ZB_SaveScreenshot: the window is not open");
        return 0;
    }
    return SaveScreenshot(file) ? 1 : 0;
}
