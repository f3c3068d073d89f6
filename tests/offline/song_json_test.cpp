#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "offline/song_json.h"
#include "song/song_setup.h"
#include "audio/synth.h"
#include "core/rng.h"
#include "core/song_layout.h"
#include "song/sequencer.h"

namespace vortel {
namespace {

struct Composed {
    explicit Composed(int32_t seed) {
        SongLayout layout;
        layout.seed = seed;
        setupSong(layout, rng);
        song = compose(sequencer, seed, layout.bpm, rng);
    }
    Generator rng;
    Synth synth{22050};
    Sequencer sequencer{synth};
    SongSummary song;
};

TEST(SongJson, SameSeedSameSong) {
    Composed a(31337);
    const Json first = songToJson(a.song);
    Composed b(31337);
    EXPECT_EQ(first.dump(), songToJson(b.song).dump());
    Composed other(31338);
    EXPECT_NE(first.dump(), songToJson(other.song).dump());
}

TEST(SongJson, JsonHasTheInspectShape) {
    Composed c(1);
    const Json j = songToJson(c.song);
    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"kick", "snare", "pad", "bass", "rootOffsets", "bassPattern",
                                              "instances"}));
    EXPECT_EQ(j["kick"], "drum:bass:gabber");
    EXPECT_EQ(j["rootOffsets"], Json::parse("[5,4,6,8]"));
    EXPECT_EQ(j["bassPattern"], 3);
    ASSERT_EQ(j["instances"].size(), 54u);
    const Json& first = j["instances"][0];
    keys.clear();
    for (auto it = first.begin(); it != first.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"span", "pattern", "offset", "transpose", "volume", "notes"}));
    EXPECT_EQ(first["pattern"], "hihat");
    EXPECT_EQ(j["instances"][1]["pattern"], "bass");
    EXPECT_EQ(j["instances"][1]["transpose"], 5);
    const Json& note = j["instances"][1]["notes"][1];
    keys.clear();
    for (auto it = note.begin(); it != note.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"time", "length", "instrument", "channel", "pitch", "velocity",
                                              "chord"}));
    EXPECT_EQ(note["instrument"], "bass:snap bass");
    EXPECT_EQ(note["channel"], "one");
    EXPECT_EQ(note["pitch"], -30);
    EXPECT_EQ(note["chord"], -1);
    // Floats read back to the same 32-bit values.
    const float length = note["length"].get<float>();
    EXPECT_EQ(length, c.song.instances[1].notes[1].length);
    const Json reread = Json::parse(j.dump());
    EXPECT_EQ(reread["instances"][53]["offset"].get<float>(), c.song.instances[53].offset);
}

}  // namespace
}  // namespace vortel
