#include "offline/contact_sheet.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/fd_writer.h"
#include "offline/offline_show.h"
#include "platform/sdl_window.h"
#include "platform/signals.h"

namespace vortel {

std::vector<uint8_t> shrinkRgb(const std::vector<uint8_t>& rgb, int width, int height, int w, int h) {
    const int fx = width / w, fy = height / h;
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < fy; ++dy)
                    for (int dx = 0; dx < fx; ++dx)
                        sum += rgb[(static_cast<size_t>(y * fy + dy) * width + x * fx + dx) * 3 + c];
                out[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<uint8_t>((sum + fx * fy / 2) / (fx * fy));
            }
    return out;
}

namespace {

constexpr int kThumbBytes = kThumbWidth * kThumbHeight * 3;
constexpr int kSpans = kSheetColumns * kSheetRows;

// The thumbnails of spans [first, last), one after the other, each rendered
// as a still with the run-up a --still has. Empty with a reason when no
// context can be had or `carryOn` said no.
std::vector<uint8_t> renderThumbnails(const SongLayout& layout, int first, int last, std::string* why,
                                      const std::function<bool()>& carryOn, Renderer renderer) {
    auto show = OfflineShow::open(layout, why, renderer);
    if (!show) return {};
    const double span = 32.0 * layout.stepLength;
    std::vector<uint8_t> thumbs;
    thumbs.reserve(static_cast<size_t>(last - first) * kThumbBytes);
    for (int i = first; i < last; ++i) {
        if (!show->renderStill(static_cast<float>((i + 0.5) * span), carryOn)) {
            *why = "interrupted";
            return {};
        }
        const std::vector<uint8_t> thumb =
            shrinkRgb(show->readRgb(), show->width(), show->height(), kThumbWidth, kThumbHeight);
        thumbs.insert(thumbs.end(), thumb.begin(), thumb.end());
    }
    return thumbs;
}

// The second half of the thumbnails in a child process, which has a
// context and a show of its own and so a processor of its own; the spans
// are independent (each still has its own run-up). Only before this process
// has started a GL driver: a child forked after would share its state.
// Returns the child's pid and the pipe its thumbnails arrive on, or -1 when
// the work stays in this process.
pid_t startHelper(const SongLayout& layout, int first, int last, int* readFd, Renderer renderer) {
    if (videoStarted()) return -1;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        close(fds[0]);
        std::string why;
        const std::vector<uint8_t> thumbs = renderThumbnails(layout, first, last, &why, [] { return !quitSignalled(); }, renderer);
        const bool ok = !thumbs.empty() && writeAll(fds[1], thumbs.data(), thumbs.size());
        _exit(ok ? 0 : 1);  // no exit handlers: they belong to the parent
    }
    close(fds[1]);
    *readFd = fds[0];
    return pid;
}

}  // namespace

std::vector<uint8_t> renderContactSheet(const SongLayout& layout, std::string* why,
                                        const std::function<bool()>& carryOn, Renderer renderer) {
    // Two processes, when this one can still fork: the second half of the
    // spans in a helper, the first half here.
    int helperFd = -1;
    const int half = kSpans / 2;
    const pid_t helper = startHelper(layout, half, kSpans, &helperFd, renderer);
    std::vector<uint8_t> thumbs = renderThumbnails(layout, 0, helper > 0 ? half : kSpans, why, carryOn, renderer);
    if (helper > 0) {
        if (!thumbs.empty()) {
            const size_t at = thumbs.size();
            thumbs.resize(at + static_cast<size_t>(kSpans - half) * kThumbBytes);
            if (!readAll(helperFd, thumbs.data() + at, thumbs.size() - at)) {
                thumbs.clear();
                kill(helper, SIGKILL);  // a stop need not wait for its half
                *why = quitSignalled() ? "interrupted" : "the helper process for the second half failed";
            }
        } else {
            kill(helper, SIGKILL);
        }
        close(helperFd);
        int status = 0;
        while (waitpid(helper, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (thumbs.empty()) return {};
    std::vector<uint8_t> sheet(static_cast<size_t>(kSheetWidth) * kSheetHeight * 3, 24);
    for (int i = 0; i < kSpans; ++i) {
        const uint8_t* thumb = &thumbs[static_cast<size_t>(i) * kThumbBytes];
        const int x0 = kSheetGutter + (i % kSheetColumns) * (kThumbWidth + kSheetGutter);
        const int y0 = kSheetGutter + (i / kSheetColumns) * (kThumbHeight + kSheetGutter);
        for (int y = 0; y < kThumbHeight; ++y)
            std::memcpy(&sheet[(static_cast<size_t>(y0 + y) * kSheetWidth + x0) * 3],
                        &thumb[static_cast<size_t>(y) * kThumbWidth * 3], static_cast<size_t>(kThumbWidth) * 3);
    }
    return sheet;
}

}  // namespace vortel
