#include "offline/recording.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "io/fd_writer.h"
#include "io/ffmpeg_pipe.h"
#include "offline/offline_show.h"
#include "audio/audio_stream.h"
#include "gfx/gl_state.h"
#include "gfx/gl_helpers.h"
#include "song/song_player.h"

namespace vortel {

namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// The recording's audio follows frames, not the wall clock.
uint32_t frozenClock() { return 0; }

}  // namespace

std::string recordContainerFor(const std::string& path) {
    auto dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "mp4") return "mp4";
    if (ext == "mkv") return "matroska";
    return "";
}

int recordFrameCount(float songLength, int fps, float lengthSeconds) {
    if (fps <= 0) return 0;
    if (lengthSeconds >= 0) return static_cast<int>(std::ceil(static_cast<double>(lengthSeconds) * fps));
    const float end = songLength + 1.0f;
    int k = 0;
    while (static_cast<float>(k / static_cast<double>(fps)) < end) ++k;
    return k + 1;  // the frame that reaches the end is the show's last
}

bool recordShow(const RecordSettings& settings, const std::string& ffmpeg, const RecordProgress& progress,
                RecordTimes* times, std::string* why) {
    const auto started = Clock::now();
    const SongLayout& layout = settings.layout;
    const float showEnd = layout.songLength + 1.0f;
    if (settings.lengthSeconds > showEnd) {
        char text[80];
        std::snprintf(text, sizeof text, "the show lasts only %.3f s", static_cast<double>(showEnd));
        *why = text;
        return false;
    }
    const int frames = recordFrameCount(layout.songLength, settings.fps, settings.lengthSeconds);
    auto show = OfflineShow::open(layout, why, settings.renderer);
    if (!show) return false;

    // The soundtrack, built as the show builds it after the pictures'
    // resources: composed, the first seconds rendered. It draws from the
    // show's generator, as the live show's does.
    auto song = std::make_unique<SongPlayer>(layout.seed, layout.bpm, show->show().rng);
    AudioStream audio(&frozenClock);
    audio.init(*song);
    audio.play(nullptr);
    // Never more than the sound image holds: past its end no sound is ever
    // made, and waiting for it would never end.
    const int64_t samplesWanted =
        std::min<int64_t>(std::llround(static_cast<double>(frames) / settings.fps * audio.sampleRate),
                          static_cast<int64_t>(audio.lengthSeconds) * audio.sampleRate);
    int64_t samplesSent = 0;

    EncoderSettings enc;
    enc.program = ffmpeg;
    enc.output = settings.output;
    enc.shownOutput = settings.shownOutput;
    enc.passMessages = settings.verbose;
    enc.container = settings.container;
    // A lossy video takes the 512 x 512 square and ffmpeg stretches it while
    // converting it for the encoder, which costs less than the GL's stretch
    // and reads back half the bytes; a lossless one takes the window's frames
    // exactly as shown.
    const bool square = settings.container == "mp4";
    enc.width = square ? kWorkingAreaSize : show->width();
    enc.height = square ? kWorkingAreaSize : show->height();
    enc.outputWidth = show->width();
    enc.outputHeight = show->height();
    enc.fps = settings.fps;
    enc.sampleRate = audio.sampleRate;
    auto encoder = FfmpegPipe::start(enc, why);
    if (!encoder) return false;

    // Everything synthesised so far goes out at once (the soundtrack runs
    // seconds ahead of the pictures), and the pipe closes when it is all out.
    bool audioEnded = false;
    auto sendAudio = [&] {
        const int64_t upTo = std::min<int64_t>(audio.samplesWritten, samplesWanted);
        bool ok = true;
        if (upTo > samplesSent) {
            ok = encoder->writeAudio(audio.samples + samplesSent, static_cast<size_t>(upTo - samplesSent));
            samplesSent = upTo;
        }
        if (ok && samplesSent == samplesWanted && !audioEnded) {
            encoder->endAudio();
            audioEnded = true;
        }
        return ok;
    };

    RecordTimes t;
    const size_t frameBytes = static_cast<size_t>(enc.width) * enc.height * 4;
    float previous = 0;
    for (int k = 0; k < frames; ++k) {
        const float time = static_cast<float>(k / static_cast<double>(settings.fps));
        // As in the live loop: audio first, then the picture.
        audio.render(1.0f / static_cast<float>(settings.fps));
        auto t0 = Clock::now();
        show->render(time, time - previous, square ? FramePresent::SlotOnly : FramePresent::Window);
        previous = time;
        finishGl();
        auto t1 = Clock::now();
        std::vector<uint8_t> frame(frameBytes);
        if (square) show->readSquareBgra(frame.data());
        else show->readBgra(frame.data());
        auto t2 = Clock::now();
        const bool ok = encoder->writeFrame(std::move(frame)) && sendAudio();
        auto t3 = Clock::now();
        t.renderSeconds += std::chrono::duration<double>(t1 - t0).count();
        t.readSeconds += std::chrono::duration<double>(t2 - t1).count();
        t.encodeWaitSeconds += std::chrono::duration<double>(t3 - t2).count();
        if (!ok) {
            if (stopRequested()) {
                encoder->abort();
                *why = "interrupted";
                return false;
            }
            std::string failure;
            encoder->finish(&failure);
            *why = failure.empty() ? "ffmpeg stopped reading its input" : failure;
            return false;
        }
        t.frames = k + 1;
        if (progress && !progress(k + 1, frames)) {
            encoder->abort();
            *why = "interrupted";
            return false;
        }
    }
    // The tail of the soundtrack up to the video's end.
    while (audio.samplesWritten < samplesWanted) {
        const int32_t before = audio.samplesWritten;
        audio.render(1.0f);
        if (audio.samplesWritten == before) break;  // the image is full
    }
    if (!sendAudio() || !encoder->finish(why)) {
        if (why->empty()) *why = "ffmpeg stopped reading its input";
        return false;
    }
    t.totalSeconds = secondsSince(started);
    if (times) *times = t;
    return true;
}

}  // namespace vortel
