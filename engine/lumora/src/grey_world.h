#pragma once

#include "lumora.h"

namespace lumora {

// Automatic white balance by the grey-world assumption, on the YUV picture
// itself: the mean red, green and blue follow from the plane means (the
// colour conversion is linear), each channel gets the gain that brings its
// mean to the grey of the three, and the gains are applied as one 3x3 matrix
// on Y, U and V (BT.601, limited or full range). Integer arithmetic, no
// allocation; a picture without colour cast is left (almost) as it is.
void GreyWorld(LumoraImage* image);

}  // namespace lumora
