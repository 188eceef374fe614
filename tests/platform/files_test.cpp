// Reading and replacing whole files in a real temporary folder: what is not a file, writes refused or cut off
// half-way, and a writer killed at any moment.
#include "platform.h"
#include "unprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using platform::FileRead;
using platform::ReadRegularFile;
using platform::WriteFileAtomically;

class Files : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drelmont_files_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    static void Write(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // What the folder holds: a replacement that failed or was cut short leaves no stray file of its own.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }
    fs::path dir;
};

TEST_F(Files, OnlyRegularFilesAreReadAndNothingElseIsReplaced) {
    alarm(20); // an open that blocks ends the test instead of hanging it
    const fs::path fifo = dir / "SAVE.INI";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string text = "stale", why;
    EXPECT_EQ(ReadRegularFile(fifo, &text, &why), FileRead::kUnreadable);
    EXPECT_EQ(text, "");
    EXPECT_EQ(why, "not a regular file");
    EXPECT_EQ(ReadRegularFile("/dev/zero", &text), FileRead::kUnreadable); // it would never end
    EXPECT_EQ(ReadRegularFile(dir, &text), FileRead::kUnreadable);
    EXPECT_EQ(ReadRegularFile(dir / "missing", &text), FileRead::kMissing);
    Write(dir / "plain", "x");
    EXPECT_EQ(ReadRegularFile(dir / "plain" / "below", &text), FileRead::kMissing);

    EXPECT_FALSE(WriteFileAtomically(fifo, "new", &why));
    EXPECT_EQ(why, "not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::create_directories(dir / "folder");
    EXPECT_FALSE(WriteFileAtomically(dir / "folder", "new"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_EQ(Names(), (std::set<std::string>{"SAVE.INI", "plain", "folder"}));
    alarm(0);
}

TEST_F(Files, AReplacementGoesThroughLinksKeepsPermissionsAndMakesFolders) {
    const fs::path real = dir / "real.ini", link = dir / "SAVE.INI";
    Write(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, link);
    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "new");
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), (std::set<std::string>{"real.ini", "SAVE.INI"}));

    ASSERT_TRUE(WriteFileAtomically(dir / "a" / "b" / "SAVE.INI", "deep"));
    EXPECT_EQ(Read(dir / "a" / "b" / "SAVE.INI"), "deep");
}

TEST_F(Files, AWriteCutOffHalfWayLeavesTheOldFileWhole) {
    // The file size limit stands in for a full disk: the system refuses every byte past it.
    const fs::path path = dir / "SAVE.INI";
    Write(path, "old contents");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit small{4096, before.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    std::string why;
    const bool written = WriteFileAtomically(path, std::string(100'000, 'n'), &why);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(written);
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(Read(path), "old contents");
    EXPECT_EQ(Names(), std::set<std::string>{"SAVE.INI"});
}

TEST_F(Files, AFolderOrAFileWeMayNotWriteIsLeftAsItWas) {
    const fs::path path = dir / "SAVE.INI";
    Write(path, "old");
    fs::permissions(path, fs::perms::all);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    EXPECT_EQ(testsupport::RunUnprivileged([&] { return WriteFileAtomically(path, "new") ? 1 : 0; }), 0);
    EXPECT_EQ(Read(path), "old");

    // A read-only file in a folder open to all: replacing it would be possible, and is not done, not even by
    // root, whom access() lets write anything.
    fs::permissions(dir, fs::perms::all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(testsupport::RunUnprivileged([&] { return WriteFileAtomically(path, "new") ? 1 : 0; }), 0);
    std::string why;
    EXPECT_FALSE(WriteFileAtomically(path, "new", &why));
    EXPECT_EQ(why, "the file is read-only");
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Names(), std::set<std::string>{"SAVE.INI"});
}

TEST_F(Files, ASaveRemovesTheTemporaryFilesOfWritersThatNoLongerRun) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone), alive = std::to_string(::getppid());
    const std::set<std::string> kept = {".SAVE.INI." + alive + ".0.tmp", ".OTHER.INI." + dead + ".0.tmp",
                                        ".SAVE.INI." + dead + ".tmp", "SAVE.INI." + dead + ".0.tmp"};
    for (const std::string& name : kept)
        Write(dir / name, "kept");
    Write(dir / (".SAVE.INI." + dead + ".0.tmp"), "left by a crash");
    Write(dir / (".SAVE.INI." + dead + ".17.tmp"), "left by a crash");
    ASSERT_TRUE(WriteFileAtomically(dir / "SAVE.INI", "new"));
    std::set<std::string> expected = kept;
    expected.insert("SAVE.INI");
    EXPECT_EQ(Names(), expected);
    EXPECT_FALSE(WriteFileAtomically("SAVE.INI", "relative to wherever we are")) << "a relative path";
}

TEST_F(Files, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewContents) {
    const fs::path path = dir / "SAVE.INI";
    const std::string oldText(1 << 20, 'o'), newText(16 << 20, 'n');
    Write(path, oldText);
    for (const int delayUs : {0, 1000, 3000, 6000, 12000, 25000, 50000}) {
        const pid_t writer = fork();
        if (writer == 0) _exit(WriteFileAtomically(path, newText) ? 0 : 1);
        usleep(static_cast<useconds_t>(delayUs));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        const std::string now = Read(path);
        EXPECT_TRUE(now == oldText || now == newText)
            << "after " << delayUs << " us: " << now.size() << " bytes";
        if (now != oldText) Write(path, oldText);
    }
}
