#pragma once
// --gallery-page DIR: the gallery's pages from the summaries in DIR.
#include <cstdint>
#include <string>
#include <vector>

#include "offline/gallery_page.h"
#include "offline/output_plan.h"

namespace vortel {

// The most a summary.json may hold. --summary writes a few kB (16 spans of a
// few names each); a file far larger is not a summary, and is refused
// before it is read rather than swelling the pages and the memory.
inline constexpr int64_t kMaxGallerySummaryBytes = 1 << 20;

// Every DIR/seeds/*/summary.json that reads as a summary, sorted by seed,
// with which of the other files stand beside it. Only real folders and
// regular files are read, never anything through a symbolic link, never a
// FIFO or a device (so nothing blocks), never more than
// kMaxGallerySummaryBytes; a seeds folder that is a link is not read at
// all. Whatever is left out, apart from a folder with no summary (yet), is
// named on stderr in one line with the reason.
std::vector<GalleryEntry> readGallery(const std::string& dir);

// Writes DIR/index.html and DIR/seeds/*/index.html from readGallery(dir).
// The pages are derived from the summaries and are replaced on every run
// (each only once complete), and only ever inside DIR: each is a new file
// renamed over the old name, so a link there is replaced, not written
// through. UsageError when DIR is not a folder; Failed when DIR/seeds is a
// symbolic link (the seeds' pages would land wherever it points), or a page
// cannot be written.
OfflineStatus buildGalleryPages(const std::string& dir, bool verbose);

}  // namespace vortel
