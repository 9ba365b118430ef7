#!/usr/bin/python3
"""Make data/notify.wav, the short chime Vantora plays as a notice.

Run:   tools/make_notify_wav.py [OUTPUT]     (default data/notify.wav)
Uses only Python's wave and math modules.

Sound: two soft bell strikes, C6 (1046.50 Hz) at 0 s and G6 (1567.98 Hz)
at 0.16 s, each a fundamental plus a few quieter partials with exponential
decay.  A 4 ms raised-cosine fade-in on each strike avoids clicks and the
last 40 ms fade to silence.  0.60 s in all, 44100 Hz, 16-bit signed mono
PCM, scaled so the highest sample is -6 dBFS (0.501 of full scale).
Pure arithmetic, no random numbers: every run writes the same bytes.
"""

import math
import os
import sys
import wave

RATE = 44100
LENGTH = 0.60          # seconds
PEAK_DBFS = -6.0
FADE_IN = 0.004        # seconds, per strike
FADE_OUT = 0.040       # seconds, at the end

# (start time s, fundamental Hz, loudness)
STRIKES = [(0.00, 1046.50, 1.00), (0.16, 1567.98, 0.85)]
# bell partials: (frequency ratio, relative amplitude, decay time constant s)
PARTIALS = [(1.0, 1.00, 0.22), (2.0, 0.28, 0.10), (3.0, 0.10, 0.06), (4.2, 0.05, 0.035)]


def sample(t):
    v = 0.0
    for start, freq, loud in STRIKES:
        dt = t - start
        if dt < 0:
            continue
        env_in = 0.5 - 0.5 * math.cos(math.pi * dt / FADE_IN) if dt < FADE_IN else 1.0
        for ratio, amp, tau in PARTIALS:
            v += loud * amp * env_in * math.exp(-dt / tau) * math.sin(2 * math.pi * freq * ratio * dt)
    tail = LENGTH - t
    if tail < FADE_OUT:
        v *= 0.5 - 0.5 * math.cos(math.pi * max(0.0, tail) / FADE_OUT)
    return v


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "notify.wav")
    n = int(round(LENGTH * RATE))
    raw = [sample(i / RATE) for i in range(n)]
    peak = max(abs(v) for v in raw)
    gain = 10 ** (PEAK_DBFS / 20) * 32767 / peak
    frames = bytearray()
    for v in raw:
        s = int(round(v * gain))
        frames += s.to_bytes(2, "little", signed=True)
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))
    top = max(abs(int.from_bytes(frames[i:i + 2], "little", signed=True)) for i in range(0, len(frames), 2))
    print("%s: %d samples, %.3f s, peak %d (%.2f dBFS)"
          % (out, n, n / RATE, top, 20 * math.log10(top / 32768)))


if __name__ == "__main__":
    main()
