#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "offline/output_plan.h"
#include "offline/song_render.h"
#include "support/cli_run.h"

namespace vortel {
namespace {

std::string noEncoder() { return ""; }
std::string someEncoder() { return "/usr/bin/ffmpeg"; }

// A fresh folder of its own for each test; planning must leave it as found.
class OutputPlanning : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = scratchPath(std::string("vortel_plan_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string at(const std::string& name) const { return (dir_ / name).string(); }
    void touch(const std::string& name) const { std::ofstream(dir_ / name) << "x"; }
    size_t entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator())); }
    fs::path dir_;
};

TEST_F(OutputPlanning, ListsTheWavFilesInWritingOrderAndTouchesNothing) {
    OfflineRequest r;
    r.wavPath = at("song.wav");
    r.stemsDir = at("stems");
    r.stillTime = 3.0f;
    r.stillPath = at("a.png");
    r.recordPath = at("show.mkv");
    OutputPlan p = planOutputs(r, someEncoder);
    ASSERT_EQ(p.status, OfflineStatus::Done) << p.error;
    EXPECT_TRUE(p.error.empty());
    ASSERT_EQ(p.wavs.size(), 1u + std::size(kStemParts));
    EXPECT_EQ(p.wavs[0].part, "");
    EXPECT_EQ(p.wavs[0].path, r.wavPath);
    for (size_t i = 0; i < std::size(kStemParts); ++i) {
        EXPECT_EQ(p.wavs[i + 1].part, kStemParts[i]);
        EXPECT_EQ(p.wavs[i + 1].path, (fs::path(r.stemsDir) / (std::string(kStemParts[i]) + ".wav")).string());
    }
    EXPECT_EQ(p.ffmpeg, "/usr/bin/ffmpeg");
    EXPECT_TRUE(p.makeStemsDir);
    EXPECT_EQ(p.request.stillPath, r.stillPath);
    EXPECT_EQ(entries(), 0u);  // the stems' folder is made by the run, not the plan

    OfflineRequest inspectOnly;
    inspectOnly.inspect = true;
    OutputPlan q = planOutputs(inspectOnly, noEncoder);  // no recording: ffmpeg never asked for
    EXPECT_EQ(q.status, OfflineStatus::Done);
    EXPECT_TRUE(q.wavs.empty());
    EXPECT_FALSE(q.makeStemsDir);
}

TEST_F(OutputPlanning, RefusesWhatCannotBeWrittenWithTheRightKindOfError) {
    touch("old.png");
    touch("file");
    struct Case {
        const char* what;
        OfflineRequest request;
        OfflineStatus status;
        const char* says;
    };
    auto req = [&](auto fill) {
        OfflineRequest r;
        fill(r);
        return r;
    };
    const Case cases[] = {
        {"existing file without force", req([&](OfflineRequest& r) { r.stillTime = 1.0f; r.stillPath = at("old.png"); }),
         OfflineStatus::UsageError, "old.png"},
        {"picture to stdout", req([&](OfflineRequest& r) { r.sheetPath = "-"; }), OfflineStatus::UsageError,
         "not to stdout"},
        {"two outputs on stdout", req([&](OfflineRequest& r) { r.inspect = true; r.wavPath = "-"; }),
         OfflineStatus::UsageError, "both write to stdout"},
        {"one file twice", req([&](OfflineRequest& r) { r.stillTime = 1.0f; r.stillPath = at("x.png"); r.sheetPath = at("x.png"); }),
         OfflineStatus::UsageError, "x.png"},
        {"stems folder is a file", req([&](OfflineRequest& r) { r.stemsDir = at("file"); }), OfflineStatus::UsageError,
         "is not a folder"},
        {"video of no known kind", req([&](OfflineRequest& r) { r.recordPath = at("show.avi"); }),
         OfflineStatus::UsageError, "must end in .mp4 or .mkv"},
        {"no ffmpeg", req([&](OfflineRequest& r) { r.recordPath = at("show.mp4"); }), OfflineStatus::Failed,
         "ffmpeg"},
        // The extension is checked before ffmpeg is looked for.
        {"bad extension and no ffmpeg", req([&](OfflineRequest& r) { r.recordPath = at("show.avi"); }),
         OfflineStatus::UsageError, ".mp4 or .mkv"},
    };
    for (const Case& c : cases) {
        OutputPlan p = planOutputs(c.request, noEncoder);
        EXPECT_EQ(p.status, c.status) << c.what;
        EXPECT_NE(p.error.find(c.says), std::string::npos) << c.what << ": " << p.error;
    }
    // With --force the existing file is a target like any other.
    OfflineRequest forced = cases[0].request;
    forced.force = true;
    EXPECT_EQ(planOutputs(forced, noEncoder).status, OfflineStatus::Done);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(OutputPlanning, StemsInAnExistingFolderAreCheckedLikeOtherFiles) {
    fs::create_directories(dir_ / "stems");
    std::ofstream(dir_ / "stems" / "pad.wav") << "x";
    OfflineRequest r;
    r.stemsDir = at("stems");
    OutputPlan p = planOutputs(r, noEncoder);
    EXPECT_EQ(p.status, OfflineStatus::UsageError);
    EXPECT_NE(p.error.find("pad.wav"), std::string::npos) << p.error;
    r.force = true;
    EXPECT_EQ(planOutputs(r, noEncoder).status, OfflineStatus::Done);
}

}  // namespace
}  // namespace vortel
