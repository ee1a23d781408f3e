#pragma once

#include "common/Image.h"

#include <glm/glm.hpp>

#include <functional>

// Blur, grow and paint masks: the text outlines, glows and shadows.

// Close to a Gaussian with a standard deviation of about `sigma` pixels.
// Edges are clamped, or wrapped for textures that repeat.
Mask blur(const Mask& mask, int sigma, bool wrap = false);

// Each value becomes the largest within a disc of `radius` pixels: an
// outline around text, soft where the text's own edge is soft.
Mask dilate(const Mask& mask, float radius);

// Moves the mask by whole pixels; what comes in is empty.
Mask shifted(const Mask& mask, int dx, int dy);

// Paints `colour` over the image wherever the mask covers it, scaled by opacity.
void paint(Image& image, const Mask& mask, const glm::vec3& colour, float opacity = 1.0f);
// The same with a colour that depends on the pixel (gradients across text).
void paint(Image& image, const Mask& mask, const std::function<glm::vec3(int, int)>& colour, float opacity = 1.0f);
