#pragma once
// Where a frame is drawn. The 512 x 512 working area is a texture of its
// own, attached to a framebuffer object with its own depth buffer; only the
// finished square is drawn into the window.
//
// Drawing into textures saves the framebuffer-to-texture copies: a capture
// of the working area into a slot whose picture is then drawn over entirely
// is an exchange of the two texture names, the slot keeping the picture and
// the working area going on in the slot's former texture. Slots are always
// looked up by number (demo().textureSlots), so nothing notices whose name
// a slot holds.
#include <cstdint>
#include <string>

namespace vortel {

// Creates the working area's texture, its depth buffer (of the window's
// depth bits) and their framebuffer object for the current context.
// Replaces whatever an earlier context left. False with a reason when the
// GL refuses the framebuffer.
bool createRenderTargets(std::string* why);

// Whether createRenderTargets succeeded for the current context.
bool renderTargetsReady();

// Draws and reads into the working area from now on (viewport untouched).
void bindWorkingArea();
// Draws and reads into the window again.
void bindWindow();
// Whether the working area is the current target.
bool drawingIntoWorkingArea();

// The picture in the working area becomes slot `slot`'s, and the working
// area goes on in the slot's former texture (its content is the slot's old
// picture, to be drawn over). Depth is kept. Needs the working area bound.
void exchangeWithWorkingArea(int slot);

// glReadPixels reads slot `slot`'s picture from now on (until
// readFromWindow), 512 x 512; draws go on where they went.
void readFromSlot(int slot);
// glReadPixels reads where draws go again: the window, or the working area
// while it is bound.
void readFromWindow();

// The GL name of the working area's texture, and putting another one in its
// place (for undoing exchanges; the window is bound afterwards).
uint32_t workingAreaTexture();
void setWorkingAreaTexture(uint32_t texture);

}  // namespace vortel
