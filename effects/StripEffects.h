#pragma once
// The region builders of the strip, bar and shred effects. Each builds, for one frame, the set
// of pixels through which the incoming picture is drawn; the effect procedures (EffectProcs.h)
// apply it with ClipDraw. Coordinates are measured from the frame's top-left corner (0, 0);
// pieces reaching outside the frame are allowed and are cut off by the draw.

#include "effects/Region.h"

namespace velmora {

/// Alternating bands of height b, repeating every 2b (bars and criss-cross). The row pass grows
/// horizontal bands by xp pixels according to hMode, the column pass vertical bands by yp
/// according to vMode; a progress beyond the frame's size (xp > w) fills the first set of
/// bands and grows the second one by the excess. snap is the frame's Divisions: a first-phase
/// band that comes within snap of the full size takes the full size. Mode 0 adds nothing
/// (callers pass 0 as that axis's progress with it). Modes: 1 from the right (bottom), 2 from
/// the left (top), 3 alternate bands from both sides, 4 and 5 first set from the left (top)
/// then the second from the right (bottom), or the other way round.
Region BandRegion(int xp, int yp, int w, int h, int snap, int hMode, int vMode, int b);

/// Strips 5 pixels thick whose ends move by a random amount (drawn from the shared random
/// generator) while the progress is below the frame's size. hMode: 1 from the right, 2 from
/// the left, 3 from the vertical centre line outwards, 4 from both sides inwards; vMode the
/// same for vertical strips (1 from the bottom, 2 from the top, 3 from the horizontal centre
/// line, 4 from top and bottom). Mode 0 adds nothing.
Region ShredRegion(int xp, int yp, int w, int h, int hMode, int vMode);

/// A solid area advancing by xp (yp) pixels with random speckles ahead of its edge, drawn from
/// the shared random generator. hMode 1: edge advancing from the right, any other non-zero
/// value from the left; vMode 1 from the bottom, other non-zero from the top.
Region SpeckleRegion(int xp, int yp, int w, int h, int hMode, int vMode);

}  // namespace velmora
