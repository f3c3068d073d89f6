#pragma once
// The show's page in a browser (emscripten builds only): the canvas with
// its WebGL 2 context, the keys, the title and the address, a line of text
// and a text panel over the picture, the picture as a PNG download, the
// whole screen, and the sound through Web Audio.
#ifdef __EMSCRIPTEN__
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"

namespace vortel {

class WebPage final : public Host {
public:
    WebPage();
    ~WebPage() override;
    WebPage(const WebPage&) = delete;
    WebPage& operator=(const WebPage&) = delete;

    // Makes a WebGL 2 context on the page's canvas (#canvas) and makes it
    // current. False with a reason when the browser has none.
    bool openCanvas(std::string* why);

    uint32_t ticks() override;
    FrameInput pollInput() override;
    void swapBuffers() override {}  // the browser shows the frame when the callback returns
    void setTitle(const std::string& title) override;
    // The canvas follows its size on the page: the drawing buffer is set to it.
    void drawableSize(int* width, int* height) const override;

    // The first click, touch or key of the page's life and every one after:
    // browsers open the sound only from inside one.
    void onGesture(std::function<void()> fn) { gesture_ = std::move(fn); }

    // The address after '#', with the '#'.
    static std::string address();
    // Replaces the address's '#...' without a new history entry.
    static void setAddress(const std::string& hash);
    // A line of text on the page, under or instead of the picture.
    static void say(const std::string& line);
    // Text laid over the picture, one entry a line; empty: none.
    static void showPanel(const std::vector<std::string>& lines);
    // The picture just drawn, offered as a download named `fileName`.
    static void savePicture(const std::string& fileName);
    // Milliseconds since 1970, as the page's clock has them.
    static double dateNow();

    // Keys and gestures reach the page through these (the browser's event
    // callbacks).
    void keyDown(const char* code, bool repeat);
    void gesture();

private:
    std::vector<KeyPress> keys_;
    std::function<void()> gesture_;
    int context_ = 0;
};

// The pull through which Web Audio takes its samples: the next `count`
// 16-bit samples into `out`.
using WebAudioPull = std::function<void(int16_t* out, int count)>;

// The page's sound output: an AudioContext at `sampleRate` (mono) whose
// script node pulls its samples on the page's thread, between frames.
class WebAudioOutput {
public:
    // Opens it; only inside a gesture does a browser let it play. Null with
    // a reason when the page has no Web Audio. A start the browser refuses
    // later is said once on the page.
    static std::unique_ptr<WebAudioOutput> open(int32_t sampleRate, std::string* why);
    ~WebAudioOutput();

    void start(WebAudioPull pull) { pull_ = std::move(pull); }
    // Paused, it plays silence and pulls nothing.
    void setPaused(bool paused) { paused_ = paused; }
    // Seconds from a sample's pull to its sound (the node's buffer and the
    // output's own latency).
    float latencySeconds() const { return latency_; }

    // Called by the script node.
    void fill(int16_t* out, int count);

private:
    WebAudioOutput() = default;
    WebAudioPull pull_;
    bool paused_ = false;
    float latency_ = 0;
};

}  // namespace vortel
#endif
