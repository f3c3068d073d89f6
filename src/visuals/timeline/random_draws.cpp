#include "visuals/timeline/random_draws.h"

#include "core/rng.h"

namespace vortel {

float unitDraw() { return static_cast<float>(rand() * static_cast<double>(0.00003051851f)); }

float signedDraw() { return static_cast<float>(2 * (static_cast<double>(unitDraw()) - 0.5)); }

}  // namespace vortel
