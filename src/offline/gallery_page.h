#pragma once
// The gallery's web pages: one static index of every rendered seed, with
// filters, and one page per seed. Plain HTML with inline CSS and script,
// opened straight from disk; nothing is fetched from anywhere.
//
// A gallery folder holds seeds/SEED/ for each seed, with the files named
// below (the batch script scripts/gallery.sh writes them).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/json.h"

namespace vortel {

inline constexpr std::string_view kGallerySummary = "summary.json";
inline constexpr std::string_view kGallerySheet = "sheet.png";
inline constexpr std::string_view kGalleryThumb = "thumb.jpg";
inline constexpr std::string_view kGalleryPreview = "preview.mp4";
inline constexpr std::string_view kGalleryPage = "index.html";
// The web player, when the batch copied it into the gallery: its page,
// opened on a seed as player/index.html#seed=N.
inline constexpr std::string_view kGalleryPlayer = "player/index.html";

// What the pages show of one seed: its summary and which files exist.
struct GallerySpan {
    std::vector<std::string> scenes;  // action names, as in the summary
    std::vector<std::string> post;
};
struct GalleryEntry {
    std::string folder;  // the seed's folder name under seeds/
    int32_t seed = 0;
    double bpm = 0;
    double songLength = 0;
    std::vector<GallerySpan> spans;
    bool hasThumb = false, hasSheet = false, hasPreview = false;
    bool hasPlayer = false;  // the gallery holds the web player: the page offers "play here"
};

// The most a summary's tempo and song length may be and still be shown (both
// must also be above 0). The show's songs run at a little over 100 BPM for
// about a minute; these leave plenty of room and keep the pages' numbers
// meaningful.
inline constexpr double kGalleryMaxBpm = 1000;
inline constexpr double kGalleryMaxSongSeconds = 3600;

// Reads a summary as --summary writes it (seed, bpm, songLength and spans
// with scenes and post); false with a reason when a field is missing, of
// the wrong kind or out of range (a seed that is no 32-bit seed, a tempo or
// length not in (0, kGalleryMaxBpm] or (0, kGalleryMaxSongSeconds]).
bool galleryEntryFromSummary(const Json& summary, GalleryEntry* entry, std::string* why);

// Text made safe to stand in HTML text or a quoted attribute value.
std::string escapeHtml(std::string_view text);

// A file or folder name as one percent-encoded URL path segment.
std::string urlSegment(std::string_view name);

// A short name for an action in the pages ("ShapeVortexScene": "vortex");
// an unknown name is shown as it is.
std::string actionLabel(std::string_view action);

// The index: a card per entry (in the given order) with data-seed, data-bpm,
// data-length and data-scenes ("|A|B|") attributes, the scene and tempo
// filters, and links to each seed's page at seeds/FOLDER/index.html. The
// filters also read the page's fragment, e.g.
// index.html#scenes=ShapeVortexScene,RoomScene&bpm=110-130.
std::string galleryIndexHtml(const std::vector<GalleryEntry>& entries);

// The page of one seed, written into its folder: the contact sheet with
// each span labelled, the preview when there is one, the commands that play
// and record the show.
std::string gallerySeedHtml(const GalleryEntry& entry);

}  // namespace vortel
