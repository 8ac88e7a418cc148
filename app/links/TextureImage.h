#pragma once

#include <QImage>

struct TTexture;

// A texture as a 15-bit picture: its pixels are the art's 1-5-5-5 words,
// whose unused top bit is left out. Null for a texture with no pixels.
QImage TextureImage(const TTexture &Texture);

// Image scaled down to fit Side x Side when it is larger, pixels dropped
// rather than blended, so that the texture stays as sharp as the game's
// pixels; an image that fits is returned as it is.
QImage FitWithoutBlur(const QImage &Image, int Side);
