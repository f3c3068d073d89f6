#include "core/demo_state.h"

namespace vortel {

DemoState& demo() {
    static DemoState state;
    return state;
}

}  // namespace vortel
