#include "visuals/frame/frame_log.h"

namespace vortel {

namespace {
FrameLog* gLog = nullptr;
bool gUseGl = true;
}  // namespace

FrameLog* frameLog() { return gLog; }
void setFrameLog(FrameLog* log) { gLog = log; }
bool visualsUseGl() { return gUseGl; }
void setVisualsUseGl(bool use) { gUseGl = use; }

}  // namespace vortel
