#pragma once
// Some libraries SDL loads print their own errors on stderr, ahead of and
// in other words than ours: ALSA eight lines when there is no sound card,
// libwayland one when there is no display. Their logging hooks take those
// lines instead; what they said last is kept for our own messages.
#include <string>

namespace vortel {

// Installs the hooks of whichever of those libraries are present. Call
// before SDL starts its video or audio; more calls do nothing.
void quietenLibraryMessages();

// ALSA's last error line since the hooks went in; empty when none.
std::string lastAlsaMessage();

}  // namespace vortel
