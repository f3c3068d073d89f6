// The show in a web page: the seed from the address (or the clock), the
// pictures on the page's canvas from the first animation frame, and the
// sound from the first click or key on. Also exports the song's samples
// for a seed, the page's own synthesis, so that they can be compared with
// the desktop's.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/live_player.h"
#include "app/web_show.h"
#include "audio/pcm.h"
#include "offline/show_layout.h"
#include "offline/song_render.h"
#include "platform/web_page.h"
#include "song/song_setup.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/show_graphics.h"
#include "visuals/frame/still_run_up.h"
#include "web_pictures.h"

namespace vortel {
namespace {

uint32_t pageTicks() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

// The page's sound output as the show's player.
class WebPlayer final : public LivePlayer {
public:
    explicit WebPlayer(WebAudioOutput& out) : out_(out) {}
    bool start(PlaybackCursor& cursor) override {
        out_.start([&cursor](int16_t* out, int count) { fillFromImage(cursor, out, count); });
        return true;
    }
    void setPaused(bool paused) override { out_.setPaused(paused); }
    // The output pulls only between frames, never during one.
    void whileStopped(const std::function<void()>& fn) override { fn(); }

private:
    WebAudioOutput& out_;
};

struct Page {
    WebPage page;
    std::unique_ptr<ShowPictures> pictures;
    std::unique_ptr<WebShow> show;
    std::unique_ptr<WebAudioOutput> output;
    std::unique_ptr<WebPlayer> player;
    bool soundTried = false;
    bool firstFrame = true;
};

Page* thePage = nullptr;

// The seed the address asks for, or one from the clock.
int32_t seedFromClock() { return static_cast<int32_t>(static_cast<int64_t>(WebPage::dateNow()) % 2147483647); }

void openSound(Page& p) {
    if (p.soundTried || !p.show) return;
    p.soundTried = true;
    std::string why;
    p.output = WebAudioOutput::open(kSampleRate, &why);
    if (!p.output) return;  // said on the page; the pictures go on
    p.player = std::make_unique<WebPlayer>(*p.output);
    p.show->startSound(p.player.get(), p.output->latencySeconds());
}

void frame() {
    Page& p = *thePage;
    p.show->frame();
    if (p.firstFrame) {
        p.firstFrame = false;
        EM_ASM({ document.documentElement.dataset.firstFrameMs = String(performance.now()); });
    }
}

}  // namespace
}  // namespace vortel

using namespace vortel;

int main() {
    auto* p = new Page();  // lives as long as the page
    thePage = p;
    std::string why;
    if (!p->page.openCanvas(&why)) {
        EM_ASM({
            var c = document.getElementById('canvas');
            if (c) c.hidden = true;
        });
        WebPage::say("The show cannot play here: " + why + ".");
        return 0;
    }
    p->pictures = makeWebPictures();
    WebShowHooks hooks;
    hooks.showing = [](int32_t seed) { WebPage::setAddress(pageAddress(seed)); };
    hooks.panel = [](const std::vector<std::string>& lines) { WebPage::showPanel(lines); };
    hooks.save = [](const std::string& stem) { WebPage::savePicture(stem + ".png"); };
    p->show = std::make_unique<WebShow>(p->page, *p->pictures, hooks, &pageTicks,
                                        static_cast<uint32_t>(WebPage::dateNow()));
    const PageAddress asked = readPageAddress(WebPage::address());
    const int32_t seed = asked.seed.value_or(seedFromClock());
    if (!p->show->start(seed, asked.start.value_or(0.0f), &why, asked.paused)) {
        WebPage::say("The show cannot play here: " + why + ".");
        return 0;
    }
    p->page.onGesture([p] { openSound(*p); });
    EM_ASM({
        window.addEventListener('hashchange', function() { Module._vortel_web_address_changed(); });
    });
    emscripten_set_main_loop(&frame, 0, 0);
    return 0;
}

// The address was changed by hand: another seed (or time) plays.
extern "C" EMSCRIPTEN_KEEPALIVE void vortel_web_address_changed() {
    if (!thePage || !thePage->show) return;
    const PageAddress asked = readPageAddress(WebPage::address());
    if (!asked.seed) {
        WebPage::setAddress(pageAddress(thePage->show->seed()));
        return;
    }
    if (!asked.start && !asked.paused) {
        if (*asked.seed != thePage->show->requested().value_or(thePage->show->seed())) thePage->show->request(*asked.seed);
        return;
    }
    std::string why;
    if (!thePage->show->start(*asked.seed, asked.start.value_or(0.0f), &why, asked.paused))
        WebPage::say("Seed " + std::to_string(*asked.seed) + " cannot play: " + why + ".");
}

namespace {
std::unique_ptr<WebSound> rendered;
}

// The song of `seed` as this page synthesises it, written in chunks as the
// page's frames write it: the mix (part "") or one stem ("drums", "hihat",
// "pad", "bass"), as many samples as `vortel --wav` / `--stems` write.
// Returns the number of samples, or -1 for an unknown part; they are at
// vortel_song_samples() until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE int vortel_render_song(int32_t seed, const char* part) {
    const std::string_view name = part ? part : "";
    bool known = name.empty();
    for (std::string_view p : kStemParts) known = known || p == name;
    if (!known) return -1;
    const SongLayout layout = showLayout(seed);
    rendered = std::make_unique<WebSound>(seed, layout.bpm, &pageTicks, name);
    const int64_t count = offlineSampleCount(layout.songLength);
    rendered->writeFirst(count);
    return static_cast<int>(count);
}

extern "C" EMSCRIPTEN_KEEPALIVE const int16_t* vortel_song_samples() {
    return rendered ? rendered->stream().samples : nullptr;
}

// Draws, in a show of its own, the frame `vortel SEED --still TIME` makes on
// the desktop: the same run-up of frames at 60 per second before it, and the
// picture stretched over 800 x 600 pixels of the canvas, where it can be
// read back before the page's next frame. For comparing the page's pictures
// with the desktop's; 0 when the show cannot be drawn.
extern "C" EMSCRIPTEN_KEEPALIVE int vortel_web_still(int32_t seed, float time) {
    if (!thePage || !thePage->pictures || !(time >= 0)) return 0;
    auto show = std::make_unique<Show>();
    show->layout.seed = seed;
    setupSong(show->layout, show->rng);
    const TextureImages images = preparePictures(*show);
    std::string why;
    if (!thePage->pictures->make(*show, images, &why)) {
        thePage->pictures->release(*show);
        return 0;
    }
    emscripten_set_canvas_element_size("#canvas", kDefaultWindowWidth, kDefaultWindowHeight);
    show->windowWidth = kDefaultWindowWidth;
    show->windowHeight = kDefaultWindowHeight;
    const std::vector<RunUpFrame> frames = stillRunUp(time);
    for (size_t i = 0; i < frames.size(); ++i)
        renderFrame(*show, frames[i].time, frames[i].delta,
                    i + 1 == frames.size() ? FramePresent::Window : FramePresent::SlotOnly);
    thePage->pictures->release(*show);
    return 1;
}
