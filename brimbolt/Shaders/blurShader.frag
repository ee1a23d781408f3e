#version 330 core

// Camera motion blur, drawn object by object into the window: each pixel of
// an object is smeared along the path its surface took across the screen
// since the last frame.
//
// Colour spaces: the scene image it reads was written sRGB-encoded into an
// 8-bit texture by the lit programs. This program decodes it, averages in
// linear light (a smear of bright and dark must not come out too dark) and
// writes linear; the window's sRGB framebuffer encodes on write, so a pixel
// that does not move comes out exactly as the scene image holds it.

in vec4 currentClip;
in vec4 previousClip;

uniform sampler2D colorMap; // the scene image, window-sized
// 0 for the car the camera follows; the first frame may send infinity.
uniform float blurScale;

// Alpha is written as 1: this pass may run with blending on.
out vec4 out_color;

const int sampleCount = 10;
// 1 for the fast picture: at most a few samples along the smear.
uniform int quality;
const int fastSampleCount = 4;
// Longest smear, in texture-coordinate units (a fraction of the screen): a
// fast turn would otherwise wash the whole picture into streaks.
const float maxBlurLength = 0.04;

// The decode's upper segment ((c + 0.055) / 1.055)^2.4 as a degree-6
// polynomial (fitted at Chebyshev nodes on [0.04045, 1]): a software renderer
// spends most of a pow() on its log and exp, while these six multiply-adds
// stay within 1e-5 of the curve, a thirtieth of an 8-bit step once encoded
// again, so every 8-bit level still decodes to itself.
vec3 srgbToLinear(vec3 encoded)
{
    encoded = clamp(encoded, 0.0, 1.0);
    vec3 low = encoded / 12.92;
    vec3 high = 9.31145439e-4 + encoded * (0.0326325297 + encoded * (0.51585769 + encoded * (0.700870755 +
                encoded * (-0.40627095 + encoded * (0.203136596 + encoded * -0.0471605817)))));
    return mix(high, low, vec3(lessThanEqual(encoded, vec3(0.04045))));
}

void main()
{
    vec2 imageSize = vec2(textureSize(colorMap, 0));
    // The centre of this pixel's own texel, so an unmoved pixel reads exactly
    // one texel and no neighbour leaks in through the linear filter.
    vec2 centre = gl_FragCoord.xy / imageSize;

    // Screen-space motion in texture units (NDC spans 2). A point that was
    // behind the camera last frame has no meaningful previous position.
    vec2 smear = vec2(0.0);
    if (currentClip.w > 1.0e-4 && previousClip.w > 1.0e-4 && blurScale > 0.0) {
        vec2 motion = 0.5 * (currentClip.xy / currentClip.w - previousClip.xy / previousClip.w);
        float motionLength = length(motion);
        if (motionLength > 1.0e-7) {
            // min() also tames an infinite scale from a zero frame time.
            float blurLength = min(motionLength * blurScale, maxBlurLength);
            smear = motion * (blurLength / motionLength);
        }
    }

    // One loop for both cases, one sample where the smear is under half a
    // pixel: this renderer runs both sides of an if for every pixel, but
    // leaves a loop as soon as no pixel of the block wants another round, so
    // a still block pays one fetch and a moving one sampleCount. With one
    // sample along is 0: the pixel reads its own texel as before.
    float smearPixels = length(smear * imageSize);
    bool moving = smearPixels >= 0.5;
    int samples = moving ? clamp(int(ceil(smearPixels)) + 1, 2, quality == 1 ? fastSampleCount : sampleCount) : 1;
    vec2 path = moving ? smear : vec2(0.0);
    vec3 color = vec3(0.0);
    int i = 0;
    do {
        float along = (float(i) + 0.5) / float(samples) - 0.5;
        color += srgbToLinear(textureLod(colorMap, centre + path * along, 0.0).rgb);
    } while (++i < samples);
    color /= float(samples);
    out_color = vec4(color, 1.0);
}
