// The campaign chart tool on small reports: lost attempts get their own bar under the winning one, a level
// never won still shows, and a report that is not the bot's is refused without a chart.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "level,attempt,won,ticks,kills,score,points,lowest_health\n";

class Chart : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drelmont_chart_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the tool on a report; its exit status, with what it printed in `out`.
    int Draw(const std::string& report) {
        std::ofstream(dir / "report.csv") << report;
        const std::string command = std::string(CAMPAIGN_CHART) + " " + (dir / "report.csv").string() + " " +
                                    (dir / "chart.png").string() + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        out.clear();
        char buffer[256];
        while (pipe && std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        const int status = pipe ? pclose(pipe) : -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir;
    std::string out;
};

// The colour just above the axis in the middle of a level's bar (the chart is 960 wide, the plot starts at
// 70 and ends 20 from the right, the axis is 56 from the bottom).
uint32_t FootOfBar(const unsigned char* rgba, int w, int h, int level) {
    const int x = static_cast<int>(70 + (960 - 90) / 30.0 * (level - 0.5));
    const unsigned char* p = rgba + (static_cast<size_t>(h - 56 - 3) * w + x) * 4;
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

TEST_F(Chart, DrawsLostAttemptsUnderTheWinAndLevelsNeverWon) {
    ASSERT_EQ(Draw(std::string(kHeader) + "1,1,1,2000,15,26400,1,200.0\n"
                                          "2,1,0,1500,10,9000,0,0.0\n"
                                          "2,2,0,2500,12,9800,0,0.0\n"
                                          "3,1,0,900,3,1200,0,0.0\n"
                                          "3,2,1,3000,40,40000,2,50.0\n"),
              0)
        << out;
    EXPECT_EQ(out, "levels_won=2 attempts=5 ticks=9900\n");
    int w = 0, h = 0, comp = 0;
    unsigned char* rgba = stbi_load((dir / "chart.png").c_str(), &w, &h, &comp, 4);
    ASSERT_NE(rgba, nullptr);
    const uint32_t won = 0x5cb85c, lost = 0xd9534f;
    EXPECT_EQ(FootOfBar(rgba, w, h, 1), won);
    EXPECT_EQ(FootOfBar(rgba, w, h, 2), lost); // never won: still drawn
    EXPECT_EQ(FootOfBar(rgba, w, h, 3), lost); // the lost attempt at the foot, the win above it
    EXPECT_NE(FootOfBar(rgba, w, h, 4), won);
    EXPECT_NE(FootOfBar(rgba, w, h, 4), lost); // not played
    stbi_image_free(rgba);
}

TEST_F(Chart, RefusesAReportThatIsNotTheBots) {
    const struct {
        std::string report, says;
    } cases[] = {
        {"", "does not start with the header"},
        {"level;attempt\n1;1\n", "does not start with the header"},
        {kHeader, "has no attempts"},
        {std::string(kHeader) + "1,1,1,2000,15,26400,1,200.0\n4,1,1,22", "report.csv:3: not a row"},
        {std::string(kHeader) + "31,1,1,2000,15,26400,1,200.0\n", "report.csv:2: not a row"},
        {std::string(kHeader) + "1,1,yes,2000,15,26400,1,200.0\n", "report.csv:2: not a row"},
        {std::string(kHeader) + "1,1,1,2000,15,26400,1,200.0,7\n", "report.csv:2: not a row"},
    };
    for (const auto& c : cases) {
        fs::remove(dir / "chart.png");
        EXPECT_EQ(Draw(c.report), 1) << c.report;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
        EXPECT_FALSE(fs::exists(dir / "chart.png")) << c.report;
    }
}

} // namespace
