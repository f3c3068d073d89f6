#pragma once
// --gallery-page DIR: the gallery's pages from the summaries in DIR.
#include <string>
#include <vector>

#include "offline/gallery_page.h"
#include "offline/output_plan.h"

namespace vortel {

// Every DIR/seeds/*/summary.json that reads as a summary, sorted by seed,
// with which of the other files stand beside it. A summary that does not
// read is reported on stderr and left out.
std::vector<GalleryEntry> readGallery(const std::string& dir);

// Writes DIR/index.html and DIR/seeds/*/index.html from readGallery(dir).
// The pages are derived from the summaries and are replaced on every run
// (each only once complete). UsageError when DIR is not a folder.
OfflineStatus buildGalleryPages(const std::string& dir, bool verbose);

}  // namespace vortel
