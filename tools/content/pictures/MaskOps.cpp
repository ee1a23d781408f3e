#include "pictures/MaskOps.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// One running-sum box pass along a line of `count` values `stride` apart.
void boxLine(float* line, int count, int stride, int radius, bool wrap, std::vector<float>& scratch)
{
    scratch.resize(static_cast<std::size_t>(count));
    auto sample = [&](int i) {
        if (wrap) {
            i %= count;
            i = i < 0 ? i + count : i;
        } else {
            i = std::clamp(i, 0, count - 1);
        }
        return line[static_cast<std::ptrdiff_t>(i) * stride];
    };
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) {
        sum += sample(i);
    }
    const double scale = 1.0 / (2 * radius + 1);
    for (int i = 0; i < count; ++i) {
        scratch[static_cast<std::size_t>(i)] = static_cast<float>(sum * scale);
        sum += sample(i + radius + 1) - sample(i - radius);
    }
    for (int i = 0; i < count; ++i) {
        line[static_cast<std::ptrdiff_t>(i) * stride] = scratch[static_cast<std::size_t>(i)];
    }
}

} // namespace

Mask blur(const Mask& mask, int sigma, bool wrap)
{
    Mask out = mask;
    if (sigma <= 0) {
        return out;
    }
    // Three box passes of radius r spread like a Gaussian of sigma sqrt(r (r + 1)).
    int passRadius = sigma;
    std::vector<float> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < out.height; ++y) {
            boxLine(&out.at(0, y), out.width, 1, passRadius, wrap, scratch);
        }
        for (int x = 0; x < out.width; ++x) {
            boxLine(&out.at(x, 0), out.height, out.width, passRadius, wrap, scratch);
        }
    }
    return out;
}

Mask dilate(const Mask& mask, float radius)
{
    Mask out(mask.width, mask.height);
    const int reach = static_cast<int>(std::ceil(radius));
    // Only the area around painted pixels can change; text covers little of a picture.
    int minX = mask.width, minY = mask.height, maxX = -1, maxY = -1;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (mask.at(x, y) > 0.0f) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < 0) {
        return out;
    }
    struct Offset {
        int dx, dy;
        float weight;
    };
    std::vector<Offset> disc;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            // The rim of the disc counts partly, so the outline's edge stays smooth.
            float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            float weight = std::clamp(radius + 0.5f - d, 0.0f, 1.0f);
            if (weight > 0.0f) {
                disc.push_back({dx, dy, weight});
            }
        }
    }
    for (int y = std::max(0, minY - reach); y <= std::min(mask.height - 1, maxY + reach); ++y) {
        for (int x = std::max(0, minX - reach); x <= std::min(mask.width - 1, maxX + reach); ++x) {
            float best = 0.0f;
            for (const Offset& o : disc) {
                int sx = x + o.dx, sy = y + o.dy;
                if (sx >= 0 && sy >= 0 && sx < mask.width && sy < mask.height) {
                    best = std::max(best, mask.at(sx, sy) * o.weight);
                }
            }
            out.at(x, y) = best;
        }
    }
    return out;
}

Mask shifted(const Mask& mask, int dx, int dy)
{
    Mask out(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sy >= 0 && sx < mask.width && sy < mask.height) {
                out.at(x, y) = mask.at(sx, sy);
            }
        }
    }
    return out;
}

void paint(Image& image, const Mask& mask, const glm::vec3& colour, float opacity)
{
    paint(image, mask, [&colour](int, int) { return colour; }, opacity);
}

void paint(Image& image, const Mask& mask, const std::function<glm::vec3(int, int)>& colour, float opacity)
{
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            float coverage = mask.at(x, y) * opacity;
            if (coverage > 0.0f) {
                image.blendOver(x, y, colour(x, y), coverage);
            }
        }
    }
}
