#pragma once
// Where a frame is drawn. The 512 x 512 working area is a texture of its
// own, attached to a framebuffer object with its own depth buffer; the glow
// is blurred back and forth between two 128 x 128 textures (the second is
// slot 6); only the finished square is drawn into the window.
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

// Creates the working area's texture and depth buffer (of the window's
// depth bits), the spare glow texture and their framebuffer objects, for
// the current context. Needs generateTextures() first (slot 6 becomes a
// glow target). Replaces whatever an earlier context left. False with a
// reason when the GL refuses the framebuffers.
bool createRenderTargets(std::string* why);

// Whether createRenderTargets succeeded for the current context.
bool renderTargetsReady();

// Draws and reads into the working area from now on (viewport untouched).
void bindWorkingArea();
// Draws and reads into the window again.
void bindWindow();
// Whether the working area is the current target.
bool drawingIntoWorkingArea();

// Binds the working area's texture on the active unit with `wrap` and
// linear filtering, as bindTextureSlot does for a slot. Only for drawing
// into another target.
void bindWorkingTexture(uint32_t wrap);

// The picture in the working area becomes slot `slot`'s, and the working
// area goes on in the slot's former texture (its content is the slot's old
// picture, to be drawn over). Depth is kept. Needs the working area bound.
void exchangeWithWorkingArea(int slot);

// The two glow textures: 0 is the spare, 1 is slot 6. Draws into one of
// them (the caller sets the 128 x 128 viewport), or binds one on the active
// unit with `wrap` and linear filtering.
void bindGlowTarget(int which);
void bindGlowTexture(int which, uint32_t wrap);

}  // namespace vortel
