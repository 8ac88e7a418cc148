#pragma once

#include "tests/support/ArtWriter.h"

#include <cstdint>

// A picture shaped like an item on the ground: an upright oval of pixels
// with two see-through holes in its middle, so that rows carry one to three
// runs, with pixel values that do not repeat. See-through pixels are 0.
//
// The line table counts in 16-bit words, so a picture's rows must start
// within 65,535 words of its data: large pictures come out as rings rather
// than solid ovals, as large art in the game is mostly open space.
ArtWriter::Pixels ItemPicture(int width, int height, std::uint32_t seed);
