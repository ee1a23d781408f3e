#include "Encoder.h"

#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Starts a program in a process group of its own, optionally with its
// standard input fed from the returned stream; waits for it when `wait` is true.
int spawn(const std::vector<std::string>& arguments, FILE** input, bool wait)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeEnds[2] = {-1, -1};
    if (input) {
        if (pipe(pipeEnds) != 0) {
            return -1;
        }
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    pid_t process = -1;
    const int failed = posix_spawnp(&process, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (input) {
        close(pipeEnds[0]);
        *input = failed ? nullptr : fdopen(pipeEnds[1], "wb");
        if (failed) {
            close(pipeEnds[1]);
        }
    }
    if (failed) {
        std::fprintf(stderr, "brimbolt_record: cannot start %s (is ffmpeg installed?)\n", argv[0]);
        return -1;
    }
    if (!wait) {
        return process;
    }
    int status = 0;
    waitpid(process, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
}

} // namespace

Encoder::Encoder(const std::string& output, int width, int height, double framesPerSecond, int sampleRate)
    : output(output),
      videoFile(output + ".video.mp4"),
      soundFile(output + ".sound.raw"),
      sampleRate(sampleRate)
{
    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", width, height);
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.6f", framesPerSecond);
    // GL's rows run bottom-up: the picture is flipped on the way in. yuv420p
    // so that every player can show it.
    videoProcess = spawn({"ffmpeg", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", size, "-r",
                          rate, "-i", "-", "-vf", "vflip", "-c:v", "libx264", "-preset", "medium", "-crf", "18",
                          "-pix_fmt", "yuv420p", videoFile},
                         &video, false);
    sound = std::fopen(soundFile.c_str(), "wb");
}

Encoder::~Encoder()
{
    if (video) {
        std::fclose(video);
    }
    if (sound) {
        std::fclose(sound);
    }
}

void Encoder::addFrame(const std::vector<std::uint8_t>& pixels)
{
    if (video) {
        std::fwrite(pixels.data(), 1, pixels.size(), video);
    }
}

void Encoder::addSound(const float* samples, std::size_t count)
{
    // A step of no time (the one that settles a restarted race) mixes nothing.
    if (sound && count > 0) {
        std::fwrite(samples, sizeof(float), count, sound);
    }
}

bool Encoder::finish()
{
    if (!ok()) {
        return false;
    }
    std::fclose(video);
    video = nullptr;
    std::fclose(sound);
    sound = nullptr;
    int status = 0;
    waitpid(videoProcess, &status, 0);
    bool encoded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const std::string rate = std::to_string(sampleRate);
    bool joined = encoded && spawn({"ffmpeg", "-loglevel", "error", "-y", "-i", videoFile, "-f", "f32le", "-ar", rate,
                                    "-ac", "2", "-i", soundFile, "-c:v", "copy", "-c:a", "aac", "-b:a", "192k",
                                    "-shortest", output},
                                   nullptr, true) == 0;
    std::remove(videoFile.c_str());
    std::remove(soundFile.c_str());
    return joined;
}
