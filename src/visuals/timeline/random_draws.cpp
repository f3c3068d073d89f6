#include "visuals/timeline/random_draws.h"

namespace vortel {

float unitDraw(Generator& g) { return static_cast<float>(g.rand() * static_cast<double>(0.00003051851f)); }

float signedDraw(Generator& g) { return static_cast<float>(2 * (static_cast<double>(unitDraw(g)) - 0.5)); }

}  // namespace vortel
