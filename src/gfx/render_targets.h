#pragma once
// Where a frame is drawn. The 512 x 512 working area is a texture of its
// own, attached to a framebuffer object with its own depth buffer; only the
// finished square is drawn into the window.
//
// Drawing into textures saves the framebuffer-to-texture copies: a capture
// of the working area into a slot whose picture is then drawn over entirely
// is an exchange of the two texture names, the slot keeping the picture and
// the working area going on in the slot's former texture. Slots are always
// looked up by number (GpuResources::textureSlots), so nothing notices
// whose name a slot holds.
#include <cstdint>
#include <string>

#include "gfx/gpu_resources.h"

namespace vortel {

// Creates the working area's texture, its depth buffer (of the window's
// depth bits) and their framebuffer object in the current context, into
// gpu.targets (whatever it held is forgotten, not deleted: names of an
// earlier context mean nothing here). False with a reason when the GL
// refuses the framebuffer.
bool createRenderTargets(GpuResources& gpu, std::string* why);

// Deletes what createRenderTargets made (where the GL's entry points are
// loaded) and forgets it.
void deleteRenderTargets(GpuResources& gpu);

// Draws and reads into the working area from now on (viewport untouched).
void bindWorkingArea(GpuResources& gpu);
// Draws and reads into the window again.
void bindWindow(GpuResources& gpu);
// Whether the working area is the current target.
bool drawingIntoWorkingArea(const GpuResources& gpu);

// The picture in the working area becomes slot `slot`'s, and the working
// area goes on in the slot's former texture (its content is the slot's old
// picture, to be drawn over). Depth is kept. Needs the working area bound.
void exchangeWithWorkingArea(GpuResources& gpu, int slot);

// Attaches gpu.targets.workingTexture to the working area's framebuffer
// again (after exchanges made on a copy of `gpu`) and binds the window.
void attachWorkingArea(GpuResources& gpu);

// glReadPixels reads slot `slot`'s picture from now on (until
// readFromWindow), 512 x 512; draws go on where they went.
void readFromSlot(const GpuResources& gpu, int slot);
// glReadPixels reads where draws go again: the window, or the working area
// while it is bound.
void readFromWindow(const GpuResources& gpu);

}  // namespace vortel
