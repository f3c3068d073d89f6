#pragma once

namespace vortel {

// Where the soundtrack's samples come from: asked once per output sample,
// in time order, for the sample at song time `t` (seconds), as a float in
// the synthesizer's range. The song layer supplies the show's.
class SampleSource {
public:
    virtual ~SampleSource() = default;
    virtual float next(float t) = 0;
};

}  // namespace vortel
