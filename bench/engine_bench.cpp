// Engine drawing cost against plain SDL: rotated, alpha-blended 64x64 sprites over 30 ground tiles
// (256x256 render targets), the same scene drawn both ways on alternate frames of one headless run.
#include "cores.h"
#include "zorbel_debug.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kTiles = 30;
constexpr std::array<int, 2> kCounts = {500, 2000};
constexpr int kWarmupFrames = 6;
constexpr int kMeasuredPairs = 40;
constexpr int kFramesPerCount = kWarmupFrames + 2 * kMeasuredPairs;
constexpr float kTileRowY[5] = {-10, 246, 502, -266, -522};

struct Sprite {
    float x, y, angle, spin;
    uint8_t alpha;
};

struct Scene {
    ZB_Texture* sprite = nullptr;
    ZB_Texture* ground = nullptr;
    std::array<ZB_Texture*, kTiles> tiles{};
    ZB_Camera* camera = nullptr;
    std::vector<Sprite> sprites;
    int frame = 0;
    std::array<std::vector<double>, kCounts.size()> engineMs, sdlMs;
};
Scene gScene;

std::string gSpriteFile, gGroundFile;

// A 64x64 soldier-like disc with a soft edge and a heading mark, and a 256x256 ground pattern.
void WritePictures(const std::filesystem::path& dir) {
    SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* ground = SDL_CreateRGBSurfaceWithFormat(0, 256, 256, 32, SDL_PIXELFORMAT_ARGB8888);
    auto* sp = static_cast<uint32_t*>(sprite->pixels);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float d = std::hypot(static_cast<float>(x) - 31.5f, static_cast<float>(y) - 31.5f);
            const auto a = static_cast<uint32_t>(std::clamp((30.0f - d) * 64.0f, 0.0f, 255.0f));
            const uint32_t rgb =
                y > 40 && std::abs(x - 32) < 4 ? 0xF0E040u : 0x508030u + static_cast<uint32_t>(x);
            sp[y * 64 + x] = (a << 24) | rgb;
        }
    auto* gp = static_cast<uint32_t*>(ground->pixels);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            gp[y * 256 + x] = 0xFF000000u | static_cast<uint32_t>(((x ^ y) & 31) + 60) << 16 |
                              static_cast<uint32_t>(((x * y) & 15) + 70) << 8 | 40u;
    gSpriteFile = (dir / "bench_sprite.bmp").string();
    gGroundFile = (dir / "bench_ground.bmp").string();
    SDL_SaveBMP(sprite, gSpriteFile.c_str());
    SDL_SaveBMP(ground, gGroundFile.c_str());
    SDL_FreeSurface(sprite);
    SDL_FreeSurface(ground);
}

void Load() {
    Scene& s = gScene;
    s.sprite = Tex_LoadFromFile(gSpriteFile.c_str(), -1, 266);
    s.ground = Tex_LoadFromFile(gGroundFile.c_str(), -1, 266);
    s.camera = Cam2D_Create();
    Cam2D_Set(s.camera);
    s.camera->Switch = 0;
    for (auto& tile : s.tiles) {
        tile = Tex_CreateZero(256, 256, 266);
        Tex_BeginRenderIn(tile, 1, 1, 1);
        SSprite_Draw(s.ground, 0, 0, 256, 256, 255, 0, 1);
        Tex_EndRenderIn();
    }
    s.camera->Switch = 1;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(seed) * n) >> 32);
    };
    s.sprites.resize(kCounts.back());
    for (Sprite& sp : s.sprites)
        sp = Sprite{static_cast<float>(next(800 - 64)), static_cast<float>(next(600 - 64)),
                    static_cast<float>(next(360)), static_cast<float>(next(7)) - 3.0f,
                    static_cast<uint8_t>(150 + next(106))};
}

float TileX(int k) {
    return 100.0f + 256.0f * static_cast<float>(k % 6);
}
float TileY(int k) {
    return kTileRowY[k / 6];
}

// The camera follows a slow circle, so the visible tiles and sprites change from frame to frame.
void MoveCamera(int frame) {
    const float t = static_cast<float>(frame) * 0.02f;
    gScene.camera->X = 500.0f + 300.0f * std::cos(t);
    gScene.camera->Y = -50.0f + 200.0f * std::sin(t);
}

void DrawWithEngine(int count, int frame) {
    for (int k = 0; k < kTiles; ++k)
        SSprite_Draw(gScene.tiles[static_cast<size_t>(k)], TileX(k), TileY(k), 256, 256, 255, 0, 1);
    // Sprites keep their place on screen while the ground scrolls under them, so every copy is really drawn
    // and the comparison measures the engine's own cost, not what it saves by skipping hidden copies.
    const float cx = gScene.camera->X, cy = gScene.camera->Y;
    for (int i = 0; i < count; ++i) {
        const Sprite& sp = gScene.sprites[static_cast<size_t>(i)];
        SSprite_Draw(gScene.sprite, sp.x + cx, sp.y + cy, 64, 64, sp.alpha,
                     sp.angle + sp.spin * static_cast<float>(frame), 1);
    }
}

void DrawWithSdl(int count, int frame) {
    auto* renderer = static_cast<SDL_Renderer*>(ZBDebug_Renderer());
    const float cx = gScene.camera->X, cy = gScene.camera->Y;
    for (int k = 0; k < kTiles; ++k) {
        auto* tile = static_cast<SDL_Texture*>(ZBDebug_SdlTexture(gScene.tiles[static_cast<size_t>(k)]));
        SDL_SetTextureAlphaMod(tile, 255);
        SDL_SetTextureBlendMode(tile, SDL_BLENDMODE_BLEND);
        const SDL_FRect dst{TileX(k) - cx, TileY(k) - cy, 256, 256};
        SDL_RenderCopyF(renderer, tile, nullptr, &dst);
    }
    auto* sprite = static_cast<SDL_Texture*>(ZBDebug_SdlTexture(gScene.sprite));
    SDL_SetTextureBlendMode(sprite, SDL_BLENDMODE_BLEND);
    SDL_SetTextureColorMod(sprite, 255, 255, 255);
    for (int i = 0; i < count; ++i) {
        const Sprite& sp = gScene.sprites[static_cast<size_t>(i)];
        SDL_SetTextureAlphaMod(sprite, sp.alpha);
        const SDL_FRect dst{sp.x, sp.y, 64, 64};
        SDL_RenderCopyExF(renderer, sprite, nullptr, &dst, sp.angle + sp.spin * static_cast<float>(frame),
                          nullptr, SDL_FLIP_NONE);
    }
}

double Now() {
    return static_cast<double>(SDL_GetPerformanceCounter()) * 1000.0 /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

// Alternates engine and SDL frames; the renderer is flushed inside the measured span, since batched
// drawing otherwise happens only at present.
void Frame() {
    Scene& s = gScene;
    const int phase = s.frame / kFramesPerCount;
    const int inPhase = s.frame % kFramesPerCount;
    ++s.frame;
    if (phase >= static_cast<int>(kCounts.size())) return;
    const int count = kCounts[static_cast<size_t>(phase)];
    MoveCamera(s.frame);
    const bool engine = inPhase % 2 == 0;
    auto* renderer = static_cast<SDL_Renderer*>(ZBDebug_Renderer());
    ZBDebug_HandPictureToSdl();
    SDL_RenderFlush(renderer);
    const double start = Now();
    if (engine)
        DrawWithEngine(count, s.frame);
    else
        DrawWithSdl(count, s.frame);
    // What the engine keeps of a frame is blended when the frame is presented.
    ZBDebug_HandPictureToSdl();
    SDL_RenderFlush(renderer);
    const double ms = Now() - start;
    if (inPhase < kWarmupFrames) return;
    (engine ? s.engineMs : s.sdlMs)[static_cast<size_t>(phase)].push_back(ms);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main() {
    setenv("ZORBEL_HEADLESS", "1", 0);
    const std::string frames = std::to_string(kFramesPerCount * static_cast<int>(kCounts.size()));
    setenv("ZORBEL_MAX_FRAMES", frames.c_str(), 1);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zorbel-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    WritePictures(dir);
    ZB_RegProcedure(1, &Load);
    ZB_RegProcedure(0, &Frame);
    ZB_SetScreenOptions(800, 600, 32, 0, 0, 0);
    ZB_Init(16, 0);
    std::filesystem::remove_all(dir);
    for (size_t i = 0; i < kCounts.size(); ++i) {
        const double engineMs = Median(gScene.engineMs[i]), sdlMs = Median(gScene.sdlMs[i]);
        std::printf("sprites=%d engine_ms=%.3f sdl_ms=%.3f ratio=%.3f cores=%d\n", kCounts[i], engineMs,
                    sdlMs, sdlMs > 0 ? engineMs / sdlMs : 0.0, CoresUsed());
    }
    return 0;
}
