#!/usr/bin/python3
"""Measures, in a recorded MP4, when each pick-up's burst first shows and when
its sound starts, and checks the two lie within one frame of each other.

usage: pickup_sync.py VIDEO RECORDER_LOG FRAMES_PER_SECOND WIDTH HEIGHT PICKUP_SOUND
The recorder's log names the frame of each stone taken ("Stone taken in
frame F"); the onsets are searched for around it in the decoded file: the
burst as the first frame in which many pixels turn much brighter, the sound
where the pick-up sound's own waveform matches the track best."""
import re
import subprocess
import sys

import numpy

sys.stdout.reconfigure(line_buffering=True)

video, log, fps, width, height = sys.argv[1], sys.argv[2], float(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
pickup_file = sys.argv[6]
frames_taken = [int(m.group(1)) for m in re.finditer(r"Stone taken in frame (\d+)", open(log).read())]
if not frames_taken:
    sys.exit("no stone taken in the recording")

raw = subprocess.run(["ffmpeg", "-v", "error", "-i", video, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                     capture_output=True, check=True).stdout
pictures = numpy.frombuffer(raw, numpy.uint8).reshape(-1, height, width, 3).astype(numpy.int16)
rate = 48000


def decode(path):
    return numpy.frombuffer(subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "f32le", "-ac", "1", "-ar",
                                            str(rate), "-"], capture_output=True, check=True).stdout,
                            numpy.float32).astype(numpy.float64)


sound = decode(video)
# The first tenth of a second of the pick-up sound is what is looked for.
template = decode(pickup_file)[:rate // 10]
template /= numpy.linalg.norm(template)
chunk = rate / fps


def sound_onset(frame):
    """Frame at whose start the pick-up sound best matches the track, and how well (0..1)."""
    first = max(int((frame - 3) * chunk), 0)
    last = min(int((frame + 4) * chunk) + len(template), len(sound))
    part = sound[first:last]
    scores = numpy.correlate(part, template, mode="valid")
    energy = numpy.sqrt(numpy.convolve(part ** 2, numpy.ones(len(template)), mode="valid"))
    match = scores / numpy.maximum(energy, 1e-9)
    best = int(numpy.argmax(match))
    return (first + best) / chunk, float(match[best])


measured = 0
for taken in frames_taken:
    window = range(max(taken - 3, 1), min(taken + 4, len(pictures)))
    # Sparks are fiery: bright red, some green, little blue, as nothing else
    # in the room is. The burst shows where many such pixels appear at once.
    def fiery(f):
        r, g, b = pictures[f][..., 0], pictures[f][..., 1], pictures[f][..., 2]
        return int(numpy.count_nonzero((r > 220) & (g > 90) & (b < 140) & (r - b > 120)))
    brighter = {f: fiery(f) - fiery(f - 1) for f in window}
    peak = max(brighter.values())
    onset, match = sound_onset(taken)
    if peak < 20:
        print(f"stone taken in frame {taken}: the burst is out of view or too small to measure here")
        continue
    burst = min(f for f in window if brighter[f] >= max(8, peak // 4))
    print(f"stone taken in frame {taken}: burst first shows in frame {burst} ({brighter[burst]} fiery pixels more), "
          f"pick-up sound starts at frame {onset:.2f} (match {match:.2f})")
    measured += 1
    if abs(burst - onset) > 1.0 or match < 0.35:
        sys.exit(f"FAIL: the pick-up sound starts at frame {onset:.2f}, the burst in frame {burst}")
if measured == 0:
    sys.exit("FAIL: no burst could be measured")
print(f"ok: {measured} pick-ups, each sound within one frame of its burst")
