#pragma once
// Files the program derives and rebuilds on every run (the gallery's pages)
// inside a folder that may hold anything, symbolic links included. Unlike
// OutputFile, which follows a link the user named on purpose, nothing here
// ever writes through a link: the new file is made beside the old name and
// renamed over it, so a link with that name is itself replaced and what it
// points to is never opened.
#include <string>
#include <string_view>

namespace vortel {

// Writes `text` as a new file called `name` in the folder open as `dirFd`,
// replacing whatever has that name (a file, or a link: never its target).
// The bytes go to a fresh ".vortel-XXXXXX" beside it, created with
// O_CREAT|O_EXCL|O_NOFOLLOW and flushed to the disk, which a rename then
// puts in place; a replaced regular file keeps its permissions. `shown`
// names the file in messages. False with a one-line reason: the temporary
// is then gone and `name` untouched.
bool replaceFileAt(int dirFd, const std::string& name, std::string_view text, const std::string& shown,
                   std::string* why);

// The same for a path: links in its folder part are followed like any
// path's, its last part never.
bool replaceFile(const std::string& path, std::string_view text, std::string* why);

}  // namespace vortel
