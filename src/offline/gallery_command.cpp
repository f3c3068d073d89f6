#include "offline/gallery_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "io/text_file.h"

namespace vortel {

namespace fs = std::filesystem;

std::vector<GalleryEntry> readGallery(const std::string& dir) {
    std::vector<GalleryEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(fs::path(dir) / "seeds", ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (!it->is_directory(ec)) continue;
        const fs::path folder = it->path();
        const fs::path summary = folder / kGallerySummary;
        if (!fs::is_regular_file(summary, ec)) continue;
        std::ifstream in(summary, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        GalleryEntry e;
        e.folder = folder.filename().string();
        std::string why;
        const Json j = Json::parse(text, nullptr, false);
        if (j.is_discarded()) why = "not JSON";
        if (!why.empty() || !galleryEntryFromSummary(j, &e, &why)) {
            std::fprintf(stderr, "vortel: %s left out: %s\n", summary.string().c_str(), why.c_str());
            continue;
        }
        e.hasThumb = fs::is_regular_file(folder / kGalleryThumb, ec);
        e.hasSheet = fs::is_regular_file(folder / kGallerySheet, ec);
        e.hasPreview = fs::is_regular_file(folder / kGalleryPreview, ec);
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const GalleryEntry& a, const GalleryEntry& b) {
        return a.seed != b.seed ? a.seed < b.seed : a.folder < b.folder;
    });
    return entries;
}

OfflineStatus buildGalleryPages(const std::string& dir, bool verbose) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        std::fprintf(stderr, "vortel: --gallery-page: %s is not a folder\n", dir.c_str());
        return OfflineStatus::UsageError;
    }
    const std::vector<GalleryEntry> entries = readGallery(dir);
    std::string why;
    for (const GalleryEntry& e : entries) {
        const fs::path page = fs::path(dir) / "seeds" / e.folder / kGalleryPage;
        if (!writeTextFile(page.string(), gallerySeedHtml(e), true, &why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return OfflineStatus::Failed;
        }
    }
    const fs::path index = fs::path(dir) / kGalleryPage;
    if (!writeTextFile(index.string(), galleryIndexHtml(entries), true, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return OfflineStatus::Failed;
    }
    if (verbose) std::fprintf(stderr, "vortel: wrote %s with %zu seeds\n", index.string().c_str(), entries.size());
    return OfflineStatus::Done;
}

}  // namespace vortel
