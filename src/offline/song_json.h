#pragma once
#include "io/json.h"
#include "song/composer.h"

namespace vortel {

// {"kick", "snare", "pad", "bass", "rootOffsets", "bassPattern",
//  "instances": [{"span", "pattern", "offset", "transpose", "volume",
//                 "notes": [{"time", "length", "instrument", "channel",
//                            "pitch", "velocity", "chord"}]}]}
Json songToJson(const SongSummary& song);

}  // namespace vortel
