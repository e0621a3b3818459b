#!/usr/bin/env python3
"""Writes the reminder popup's chime: two soft bell tones, a high one and a lower one, as 16-bit mono WAV.

Run from the repository root: python3 scripts/make_chime.py  (writes src/reminders/chime.wav)
"""
import math
import struct
import sys
import wave

RATE = 22050
OUT = sys.argv[1] if len(sys.argv) > 1 else "src/reminders/chime.wav"


def bell(freq, start, length, total):
    """Samples of one bell tone with a few partials and an exponential decay, placed at start seconds."""
    partials = [(1.0, 1.0), (2.0, 0.35), (3.0, 0.12), (4.2, 0.06)]
    out = [0.0] * total
    first = int(start * RATE)
    for i in range(int(length * RATE)):
        n = first + i
        if n >= total:
            break
        t = i / RATE
        attack = min(1.0, t / 0.004)
        decay = math.exp(-t * 4.5)
        s = sum(a * math.sin(2 * math.pi * freq * k * t) * math.exp(-t * k * 1.5) for k, a in partials)
        out[n] = s * attack * decay
    return out


def main():
    seconds = 1.3
    total = int(seconds * RATE)
    high = bell(1318.5, 0.0, 0.9, total)   # E6
    low = bell(1046.5, 0.28, 1.0, total)   # C6
    mixed = [h + l for h, l in zip(high, low)]
    peak = max(abs(s) for s in mixed) or 1.0
    # Fade the last 50 ms so the sound ends without a click.
    fade = int(0.05 * RATE)
    frames = bytearray()
    for n, s in enumerate(mixed):
        gain = min(1.0, (total - n) / fade)
        frames += struct.pack("<h", int(s / peak * 0.7 * gain * 32767))
    with wave.open(OUT, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
