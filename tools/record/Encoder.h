#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Turns frames and sound into an MP4 (H.264 video, AAC sound) through
// ffmpeg. The frames stream into an ffmpeg that encodes the picture while
// the race runs; the sound goes to a raw file beside it; `finish` joins the
// two. ffmpeg runs in a process group of its own, so Ctrl-C in the terminal
// stops only the recorder, which then finishes the file it has.
class Encoder {
public:
    Encoder(const std::string& output, int width, int height, double framesPerSecond, int sampleRate);
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool ok() const { return video != nullptr && sound != nullptr; }
    // RGB rows, bottom row first, as GL reads them.
    void addFrame(const std::vector<std::uint8_t>& pixels);
    // Interleaved stereo float samples.
    void addSound(const float* samples, std::size_t count);
    // Closes the picture stream and writes the output with both streams.
    bool finish();

private:
    std::string output;
    std::string videoFile;
    std::string soundFile;
    int sampleRate;
    FILE* video = nullptr; // the encoding ffmpeg's standard input
    int videoProcess = -1;
    FILE* sound = nullptr;
};
