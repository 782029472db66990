// The list, the handles, stopping and the output rules of the merge library.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "kelsa.h"
#include "kelsa_test_support.h"
#include "sample_probe.h"

using namespace kelsatest;
using samplegen::Container;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

class MergeRulesTest : public testing::Test {
protected:
    std::string Small() { return Recording("a50.mp4", Container::Mp4, 50, true); }
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    std::vector<std::string> Entries() const { return FolderEntries(m_folder.Dir()); }

    samplegen_test::TempFolder m_folder;
};

TEST_F(MergeRulesTest, AddRefusesFilesThatCannotJoinAndKeepsTheList) {
    const std::string small = Small();
    const std::string larger = Recording("big.mp4", Container::Mp4, 10, false, false, 320, 240);
    const std::string junk = Path("junk.mp4");
    std::ofstream(junk) << "not a recording at all";
    const std::string empty = Path("empty.mp4");
    std::ofstream{empty};

    const int32_t handle = KELSA_CreateHandle();
    ASSERT_GT(handle, 0);
    EXPECT_EQ(KELSA_AddToMergeList(handle, small.c_str(), 0, 2000), KELSA_OK);
    EXPECT_EQ(KELSA_AddToMergeList(handle, larger.c_str(), 0, 400), KELSA_ERR_MISMATCH);
    EXPECT_EQ(KELSA_AddToMergeList(handle, Path("gone.mp4").c_str(), 0, 0), KELSA_ERR_OPEN_FILE);
    EXPECT_EQ(KELSA_AddToMergeList(handle, junk.c_str(), 0, 0), KELSA_ERR_OPEN_FILE);
    EXPECT_EQ(KELSA_AddToMergeList(handle, empty.c_str(), 0, 0), KELSA_ERR_OPEN_FILE);
    EXPECT_EQ(KELSA_AddToMergeList(handle, m_folder.Dir().c_str(), 0, 0), KELSA_ERR_OPEN_FILE);
    EXPECT_EQ(KELSA_AddToMergeList(handle, nullptr, 0, 0), KELSA_ERR_NULL_POINTER);
    EXPECT_EQ(KELSA_AddToMergeList(handle, small.c_str(), 0, 2000), KELSA_OK);

    const std::string output = Path("kept.mp4");
    EXPECT_EQ(KELSA_MergeFileInList(handle, output.c_str()), KELSA_OK);
    EXPECT_EQ(ShownNumbers(output).size(), 100u);  // the two accepted files only

    EXPECT_EQ(KELSA_ClearMergeList(handle), KELSA_OK);
    EXPECT_EQ(KELSA_MergeFileInList(handle, Path("nothing.mp4").c_str()), KELSA_ERR_EMPTY_LIST);
    // After a clear the first file sets the rule again.
    EXPECT_EQ(KELSA_AddToMergeList(handle, larger.c_str(), 0, 400), KELSA_OK);
    EXPECT_EQ(KELSA_AddToMergeList(handle, small.c_str(), 0, 2000), KELSA_ERR_MISMATCH);
    EXPECT_EQ(KELSA_DestroyHandle(handle), KELSA_OK);
    EXPECT_FALSE(fs::exists(Path("nothing.mp4")));
}

TEST_F(MergeRulesTest, BadAndStaleHandlesAreRefusedAndNeverReused) {
    const std::string small = Small();
    const int32_t handle = KELSA_CreateHandle();
    ASSERT_GT(handle, 0);
    ASSERT_EQ(KELSA_DestroyHandle(handle), KELSA_OK);
    for (const int32_t bad : {handle, 0, -1, handle + 1000, INT32_MAX}) {
        EXPECT_EQ(KELSA_ClearMergeList(bad), KELSA_ERR_BAD_HANDLE) << bad;
        EXPECT_EQ(KELSA_AddToMergeList(bad, small.c_str(), 0, 0), KELSA_ERR_BAD_HANDLE) << bad;
        EXPECT_EQ(KELSA_MergeFileInList(bad, Path("x.mp4").c_str()), KELSA_ERR_BAD_HANDLE);
        EXPECT_EQ(KELSA_StopMerge(bad), KELSA_ERR_BAD_HANDLE) << bad;
        EXPECT_EQ(KELSA_DestroyHandle(bad), KELSA_ERR_BAD_HANDLE) << bad;
    }
    const int32_t next = KELSA_CreateHandle();
    EXPECT_GT(next, handle);
    EXPECT_EQ(KELSA_MergeFileInList(next, nullptr), KELSA_ERR_NULL_POINTER);
    EXPECT_EQ(KELSA_MergeFileInList(next, ""), KELSA_ERR_NULL_POINTER);
    EXPECT_EQ(KELSA_DestroyHandle(next), KELSA_OK);
    EXPECT_TRUE(Entries().empty());
}

// A long list, so that the merge is still running when it is stopped.
int32_t LongMerge(const std::string& file) {
    std::vector<std::pair<std::string, int32_t>> files(300, {file, 2000});
    return ListedHandle(files);
}

bool HasPartialOutput(const std::vector<std::string>& names) {
    return std::any_of(names.begin(), names.end(),
                       [](const std::string& name) { return name.find(".part") != name.npos; });
}

class StopTest : public MergeRulesTest, public testing::WithParamInterface<bool> {};

TEST_P(StopTest, AStoppedMergeEndsWithinASecondAndLeavesNoOutput) {
    const bool bByDestroy = GetParam();
    const int32_t handle = LongMerge(Small());
    ASSERT_GT(handle, 0);
    const std::string output = Path("stopped.mp4");
    auto merge = std::async(std::launch::async,
                            [&] { return KELSA_MergeFileInList(handle, output.c_str()); });
    // Stop once the merge is visibly writing.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!HasPartialOutput(Entries()) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(HasPartialOutput(Entries()));
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(bByDestroy ? KELSA_DestroyHandle(handle) : KELSA_StopMerge(handle), KELSA_OK);
    ASSERT_EQ(merge.wait_for(1s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
    EXPECT_EQ(merge.get(), KELSA_ERR_STOPPED);
    EXPECT_TRUE(Entries().empty());
    if (!bByDestroy) {
        // The handle lives on and merges again once the stop is spent.
        EXPECT_EQ(KELSA_ClearMergeList(handle), KELSA_OK);
        EXPECT_EQ(KELSA_AddToMergeList(handle, Small().c_str(), 0, 2000), KELSA_OK);
        EXPECT_EQ(KELSA_MergeFileInList(handle, output.c_str()), KELSA_OK);
        EXPECT_EQ(KELSA_DestroyHandle(handle), KELSA_OK);
    }
}

INSTANTIATE_TEST_SUITE_P(ByStopOrDestroy, StopTest, testing::Bool());

TEST_F(MergeRulesTest, AStopAskedBeforeTheMergeStartsIsNotLost) {
    const int32_t handle = ListedHandle({{Small(), 2000}, {Small(), 2000}});
    ASSERT_GT(handle, 0);
    EXPECT_EQ(KELSA_StopMerge(handle), KELSA_OK);
    EXPECT_EQ(KELSA_MergeFileInList(handle, Path("early.mp4").c_str()), KELSA_ERR_STOPPED);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(KELSA_DestroyHandle(handle), KELSA_OK);
}

TEST_F(MergeRulesTest, AFailedMergeLeavesNoOutputAndAnEarlierFileUntouched) {
    const std::string small = Small();
    const int32_t handle = ListedHandle({{small, 2000}, {small, 2000}});
    ASSERT_GT(handle, 0);
    // A folder that does not exist, and a folder in the output's place.
    EXPECT_EQ(KELSA_MergeFileInList(handle, Path("missing/out.mp4").c_str()), KELSA_ERR_OUTPUT);
    fs::create_directory(Path("taken.mp4"));
    EXPECT_EQ(KELSA_MergeFileInList(handle, Path("taken.mp4").c_str()), KELSA_ERR_OUTPUT);
    EXPECT_EQ(Entries(), std::vector<std::string>{"taken.mp4"});

    // A listed file that disappears before the merge.
    const std::string doomed = Path("doomed.mp4");
    fs::copy_file(small, doomed);
    const std::string earlier = Path("earlier.mp4");
    std::ofstream(earlier) << "an earlier merge";
    const int32_t second = ListedHandle({{small, 2000}, {doomed, 2000}});
    ASSERT_GT(second, 0);
    fs::remove(doomed);
    EXPECT_EQ(KELSA_MergeFileInList(second, earlier.c_str()), KELSA_ERR_READ);
    std::ifstream in(earlier);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "an earlier merge");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"earlier.mp4", "taken.mp4"}));
    KELSA_DestroyHandle(handle);
    KELSA_DestroyHandle(second);
}

TEST_F(MergeRulesTest, AnOutputNamingAListedFileIsRefused) {
    const std::string copy = Path("evidence.mp4");
    fs::copy_file(Small(), copy);
    const auto size = fs::file_size(copy);
    const int32_t handle = ListedHandle({{copy, 2000}, {Small(), 2000}});
    ASSERT_GT(handle, 0);
    EXPECT_EQ(KELSA_MergeFileInList(handle, copy.c_str()), KELSA_ERR_OUTPUT_IS_INPUT);
    const std::string sameThroughLink = Path("link.mp4");
    fs::create_symlink(copy, sameThroughLink);
    EXPECT_EQ(KELSA_MergeFileInList(handle, sameThroughLink.c_str()), KELSA_ERR_OUTPUT_IS_INPUT);
    EXPECT_EQ(fs::file_size(copy), size);
    KELSA_DestroyHandle(handle);
}

}  // namespace
