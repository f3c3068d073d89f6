#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "support/cli_run.h"
#include "offline/contact_sheet.h"
#include "io/json.h"
#include "offline/recording.h"
#include "offline/show_layout.h"

namespace vortel {
namespace {

// What ffprobe says of a file's streams: one "key=value|..." line each.
std::string probe(const fs::path& file) {
    return commandOutput("ffprobe -v error -show_entries stream=codec_type,width,height,r_frame_rate,sample_rate,channels"
                         " -of compact=nokey=0 '" + file.string() + "' 2>&1");
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool haveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1 && ffprobe -version >/dev/null 2>&1") == 0; }

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
        dir_ = scratchPath("vortel_record");
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(Recording, ShortShowHasTheAskedStreamsAndIsTheSameTwice) {
    const fs::path a = dir_ / "a.mkv", b = dir_ / "b.mkv";
    for (const fs::path& f : {a, b}) {
        RunResult r = run("77 --record '" + f.string() + "' --fps 12 --length 1");
        ASSERT_EQ(r.code, 0) << r.err;
    }
    const std::string streams = probe(a);
    EXPECT_NE(streams.find("codec_type=video|width=800|height=600|r_frame_rate=12/1"), std::string::npos) << streams;
    EXPECT_NE(streams.find("codec_type=audio|sample_rate=22050|channels=1"), std::string::npos) << streams;
    EXPECT_EQ(fileBytes(a), fileBytes(b));
    // No temporary is left beside the files.
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file();
    EXPECT_EQ(files, 2);
}

TEST_F(Recording, FailuresLeaveNoFileAndSayWhy) {
    const fs::path out = dir_ / "show.mp4";
    // An encoder that gives up.
    RunResult r = run("5 --record '" + out.string() + "' --fps 5 --length 1", "VORTEL_FFMPEG=/bin/false");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("ffmpeg failed"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(dir_));
    // No ffmpeg at all: named, before anything is rendered.
    r = run("5 --record '" + out.string() + "'", "PATH=/nonexistent");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("needs the ffmpeg program"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(dir_));
    // A format it cannot record, and an existing file without --force.
    EXPECT_EQ(run("5 --record '" + (dir_ / "x.avi").string() + "'").code, 2);
    std::ofstream(out.string()) << "keep";
    EXPECT_EQ(run("5 --record '" + out.string() + "' --length 1").code, 2);
    EXPECT_EQ(fileBytes(out), "keep");
}

// One picture as RGB bytes, decoded by ffmpeg: frame `frame` of a video,
// or an image.
std::string decodedRgb(const fs::path& file, int frame = 0) {
    return commandOutput("ffmpeg -v error -i '" + file.string() + "' -vf 'select=eq(n\\," + std::to_string(frame) +
                         ")' -vframes 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
}

double psnr(const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = static_cast<double>(static_cast<uint8_t>(a[i])) - static_cast<uint8_t>(b[i]);
        sum += d * d;
    }
    const double mse = sum / static_cast<double>(a.size());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// An .mp4 is made from the 512 x 512 square, which ffmpeg stretches: its
// frames are still the window's 800 x 600 pictures, right way up, as close
// to the stills as the lossy encoding allows; the .mkv's are the window's
// own (lossless but for the colour conversion).
TEST_F(Recording, VideoFramesAreTheShowsPicturesRightWayUp) {
    const fs::path mp4 = dir_ / "a.mp4", mkv = dir_ / "a.mkv", still = dir_ / "s.png";
    for (const fs::path& f : {mp4, mkv}) {
        RunResult r = run("77 --record '" + f.string() + "' --fps 60 --length 1");
        ASSERT_EQ(r.code, 0) << r.err;
    }
    EXPECT_NE(probe(mp4).find("codec_type=video|width=800|height=600|r_frame_rate=60/1"), std::string::npos)
        << probe(mp4);
    // Frame 30 is at 0.5 s, after the same frames as the still's run-up.
    ASSERT_EQ(run("77 --still 0.5 '" + still.string() + "'").code, 0);
    const std::string picture = decodedRgb(still);
    ASSERT_EQ(picture.size(), 800u * 600u * 3u);
    const std::string fromMp4 = decodedRgb(mp4, 30), fromMkv = decodedRgb(mkv, 30);
    EXPECT_GT(psnr(fromMp4, picture), 35.0);
    EXPECT_GT(psnr(fromMkv, picture), 45.0);
    // Upside down, or a neighbouring frame, would be far off.
    std::string flipped(fromMp4.size(), 0);
    for (int y = 0; y < 600; ++y) fromMp4.copy(&flipped[static_cast<size_t>(y) * 2400], 2400, static_cast<size_t>(599 - y) * 2400);
    EXPECT_LT(psnr(flipped, picture), 25.0);
    EXPECT_LT(psnr(decodedRgb(mp4, 36), picture), psnr(fromMp4, picture) - 3);
}

TEST(Stills, SameSeedAndTimeGiveTheSamePngAndInspectTellsTheFrame) {
    const fs::path dir = scratchPath("vortel_stills");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path a = dir / "a.png", b = dir / "b.png", sheet = dir / "sheet.png";
    ASSERT_EQ(run("31 --still 20.25 '" + a.string() + "'").code, 0);
    ASSERT_EQ(run("31 --still=20.25 '" + b.string() + "'").code, 2);  // --still takes two words
    ASSERT_EQ(run("31 --still 20.25 '" + b.string() + "'").code, 0);
    const std::string png = fileBytes(a);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // IHDR: width and height, big-endian, at bytes 16 and 20.
    auto be32 = [](const std::string& bytes, size_t at) {
        return (static_cast<uint8_t>(bytes[at]) << 24) | (static_cast<uint8_t>(bytes[at + 1]) << 16) |
               (static_cast<uint8_t>(bytes[at + 2]) << 8) | static_cast<uint8_t>(bytes[at + 3]);
    };
    EXPECT_EQ(be32(png, 16), 800);
    EXPECT_EQ(be32(png, 20), 600);
    EXPECT_EQ(png, fileBytes(b));
    EXPECT_EQ(run("31 --still 20.25 '" + a.string() + "'").code, 2);  // never overwritten silently
    ASSERT_EQ(run("31 --contact-sheet '" + sheet.string() + "'").code, 0);
    const std::string sheetPng = fileBytes(sheet);
    ASSERT_GT(sheetPng.size(), 24u);
    EXPECT_EQ(be32(sheetPng, 16), kSheetWidth);
    EXPECT_EQ(be32(sheetPng, 20), kSheetHeight);
    // Alone, the sheet's second half is drawn by a helper process; after a
    // still (the GL started in this process) all of it here: the same bytes.
    const fs::path sheetHere = dir / "sheet-here.png", still = dir / "c.png";
    ASSERT_EQ(run("31 --still 3 '" + still.string() + "' --contact-sheet '" + sheetHere.string() + "'").code, 0);
    EXPECT_EQ(fileBytes(sheetHere), sheetPng);
    fs::remove_all(dir);

    RunResult r = run("31 --inspect --at 20.25");
    ASSERT_EQ(r.code, 0) << r.err;
    const Json j = Json::parse(r.out);
    ASSERT_EQ(j["timeline"].size(), 80u);
    const Json& frame = j["frame"];
    EXPECT_EQ(frame["time"].get<float>(), 20.25f);
    ASSERT_FALSE(frame["actions"].empty());
    EXPECT_EQ(frame["actions"][0]["lane"], "camera");
    EXPECT_EQ(frame["cameraFrom"].size(), 3u);
    EXPECT_EQ(run("31 --at 3").code, 2);  // --at belongs to --inspect
}

TEST(RecordFrames, TheVideoLastsAsLongAsTheLiveShow) {
    // The live loop's last frame is the first whose time reaches the song
    // plus one second.
    EXPECT_EQ(recordFrameCount(10.0f, 10, -1), 111);
    EXPECT_EQ(recordFrameCount(10.05f, 10, -1), 112);
    EXPECT_EQ(recordFrameCount(51.2f, 60, -1), 3133);
    EXPECT_EQ(recordFrameCount(60.0f, 60, 1.5f), 90);
    EXPECT_EQ(recordContainerFor("a/b.MP4"), "mp4");
    EXPECT_EQ(recordContainerFor("show.mkv"), "matroska");
    EXPECT_EQ(recordContainerFor("show.mkv/x"), "");
    EXPECT_EQ(recordContainerFor("show.webm"), "");
}

TEST(RecordFrames, ARecordingLongerThanTheShowIsRefusedNotWaitedFor) {
    // The sound image ends at 240 s; a recording past the show once waited
    // for sound beyond it for ever.
    RecordSettings rs;
    rs.layout = showLayout(7);
    rs.fps = 1;
    rs.lengthSeconds = 241;
    rs.output = scratchPath("vortel_never_written.mkv").string();
    rs.container = "matroska";
    std::string why;
    EXPECT_FALSE(recordShow(rs, "/bin/false", {}, nullptr, &why));
    EXPECT_NE(why.find("the show lasts only"), std::string::npos) << why;
    EXPECT_FALSE(fs::exists(rs.output));
}

TEST(ContactSheet, ShrinkAveragesWholeBlocks) {
    // A 4 x 2 image of two flat halves shrinks to 2 x 1 of the same colours;
    // a checker of 0 and 255 averages to the middle grey (rounded).
    std::vector<uint8_t> img(4 * 2 * 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c) img[(y * 4 + x) * 3 + c] = x < 2 ? 10 : static_cast<uint8_t>(((x + y) % 2) * 255);
    const auto out = shrinkRgb(img, 4, 2, 2, 1);
    EXPECT_EQ(out, (std::vector<uint8_t>{10, 10, 10, 128, 128, 128}));
}

}  // namespace
}  // namespace vortel
