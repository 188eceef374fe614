// Fuzz target: any bytes as a recording. Each input is also tried with its end marker's checksum made right,
// so that the fuzzer gets past the checksum to the frames and events.
#include "check.h"
#include "recording.h"

#include <cmath>
#include <cstdint>
#include <cstring>

using namespace zorbel::recording;

namespace {

void Read(const uint8_t* data, size_t size) {
    Run run;
    std::string error;
    if (!Parse(data, size, run, error)) {
        fuzz::Require(!error.empty() && fuzz::IsPrintable(error), "a refusal says why, printably");
        return;
    }
    // The reader takes only what the writer makes: writing the run again gives the same bytes.
    std::vector<uint8_t> again = Header(run.interfaceVersion, run.startTime);
    for (size_t n = 1; n <= run.FrameCount(); ++n) {
        const auto events = run.Events(n);
        const Frame frame{run.times[n - 1], {events.begin(), events.end()}};
        fuzz::Require(std::isfinite(frame.time), "frame times are numbers");
        for (const InputEvent& e : frame.events)
            fuzz::Require(e.kind != InputEvent::Kind::Cursor || (std::isfinite(e.x) && std::isfinite(e.y)),
                          "the cursor is a finite point");
        const std::vector<uint8_t> bytes = FrameBytes(frame);
        again.insert(again.end(), bytes.begin(), bytes.end());
    }
    const std::vector<uint8_t> end =
        EndBytes(static_cast<uint32_t>(run.FrameCount()), Crc32(0, again.data(), again.size()));
    again.insert(again.end(), end.begin(), end.end());
    fuzz::Require(again.size() == size && std::memcmp(again.data(), data, size) == 0,
                  "a recording read and written again is the same bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Read(data, size);
    constexpr size_t kEnd = 9; // 'E', u32 frame count, u32 checksum
    if (size >= kEnd && data[size - kEnd] == 'E') {
        std::vector<uint8_t> mended(data, data + size);
        const uint32_t crc = Crc32(0, mended.data(), size - 4);
        std::memcpy(mended.data() + size - 4, &crc, 4);
        Read(mended.data(), mended.size());
    }
    return 0;
}
