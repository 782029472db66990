#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "output_file/pending_output_file.h"

namespace fs = std::filesystem;
using outputfile::PendingOutputFile;

namespace {

class PendingOutputFileTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("pending-output-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    size_t EntriesInFolder() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_dir), {}));
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path m_dir;
};

TEST_F(PendingOutputFileTest, CommitReplacesTheTargetAndLeavesNothingElse) {
    const std::string target = (m_dir / "clip.mp4").string();
    Write(target, "old");
    {
        PendingOutputFile out(target);
        ASSERT_TRUE(out.Ok());
        EXPECT_EQ(fs::path(out.TempPath()).parent_path(), m_dir);
        Write(out.TempPath(), "new contents");
        EXPECT_EQ(Read(target), "old");  // nothing visible under the name until committed
        EXPECT_TRUE(out.Commit());
    }
    EXPECT_EQ(Read(target), "new contents");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(PendingOutputFileTest, AnUncommittedFileLeavesTheFolderAsItWas) {
    const std::string target = (m_dir / "merged.mp4").string();
    {
        PendingOutputFile out(target);
        ASSERT_TRUE(out.Ok());
        Write(out.TempPath(), "half a file");
    }
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(EntriesInFolder(), 0u);

    Write(target, "earlier result");
    {
        PendingOutputFile out(target);
        Write(out.TempPath(), "half");
        out.Discard();
        EXPECT_FALSE(out.Commit());
    }
    EXPECT_EQ(Read(target), "earlier result");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(PendingOutputFileTest, UnusableTargetsAreRefusedUpFront) {
    EXPECT_FALSE(PendingOutputFile("").Ok());
    EXPECT_FALSE(PendingOutputFile((m_dir / "missing" / "a.mp4").string()).Ok());
    EXPECT_FALSE(PendingOutputFile(m_dir.string() + "/").Ok());
    if (::geteuid() != 0) {
        fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(PendingOutputFile((m_dir / "a.mp4").string()).Ok());
        fs::permissions(m_dir, fs::perms::owner_all);
    }
}

TEST_F(PendingOutputFileTest, TheFinishedFileGetsTheUsualPermissions) {
    const std::string target = (m_dir / "out.avi").string();
    const mode_t mask = ::umask(022);
    {
        PendingOutputFile out(target);
        ASSERT_TRUE(out.Commit());
    }
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

}  // namespace
