#!/usr/bin/env python3
"""Synthesises the program's sound cues as 16-bit PCM wave files.

    make_sounds.py OUTDIR

Every cue is drawn from the parameters below; change them and run the script again.
The output is the same bytes on every run: the only randomness is a fixed-seed
generator of our own. Levels are fractions of full scale and kept low, since the
tick sounds with every keystroke.
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050  # samples per second, mono

# pi.wav: each keystroke. A soft, short tick: a high tone that dies at once.
PI = {"seconds": 0.045, "level": 0.18, "hz": 2400.0, "decay": 90.0}

# chop.wav: Enter, edit, help. A wooden knock: a few inharmonic partials of a
# block of wood, a click of noise at the strike, a quick decay.
CHOP = {
    "seconds": 0.16,
    "level": 0.32,
    "partials": [(620.0, 1.0), (1010.0, 0.55), (1730.0, 0.3)],  # (Hz, weight)
    "decay": 38.0,
    "noise": 0.35,
    "noise_decay": 400.0,
}

# kaeru.wav: check and open. A frog's "kero": two croaks, a short high "ke" and a
# longer falling "ro", each a buzzy tone pulsed by the frog's throat.
KAERU = {
    "level": 0.3,
    "croaks": [  # (start s, length s, start Hz, end Hz, pulses per second)
        (0.0, 0.11, 520.0, 470.0, 38.0),
        (0.16, 0.24, 430.0, 300.0, 30.0),
    ],
    "harmonics": 6,
    "seconds": 0.45,
}

# fan.wav: classes 1 to 3. A short bright fanfare: rising brass-like notes, the
# last one held.
FAN = {
    "level": 0.3,
    "notes": [  # (start s, length s, Hz)
        (0.0, 0.14, 523.25),
        (0.15, 0.14, 659.25),
        (0.30, 0.14, 783.99),
        (0.45, 1.1, 1046.5),
    ],
    "harmonics": [1.0, 0.6, 0.45, 0.3, 0.2, 0.12],
    "attack": 0.015,
    "release": 0.08,
    "vibrato_hz": 5.5,
    "vibrato_depth": 0.004,
    "seconds": 1.6,
}

# fin.wav: classes 4 to 8. A chime: two struck bell tones with inharmonic partials
# ringing out.
FIN = {
    "level": 0.28,
    "strikes": [(0.0, 1318.5), (0.35, 1046.5)],  # (start s, Hz)
    "partials": [(1.0, 1.0), (2.76, 0.45), (5.40, 0.25), (8.93, 0.12)],  # (ratio, weight)
    "decay": 2.6,  # per second, the lowest partial; higher ones die faster
    "seconds": 2.2,
}

FADE_SECONDS = 0.01  # every cue ends in a short fade, so it never stops with a click


class Noise:
    """A small linear congruential generator: the same sequence everywhere."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) % 2**31
        return self.state / 2**30 - 1.0


def samples(seconds):
    return int(round(seconds * RATE))


def pi():
    p = PI
    return [math.sin(2 * math.pi * p["hz"] * t) * math.exp(-p["decay"] * t)
            for t in (i / RATE for i in range(samples(p["seconds"])))]


def chop():
    p = CHOP
    noise = Noise(7)
    total = sum(w for _, w in p["partials"])
    out = []
    for i in range(samples(p["seconds"])):
        t = i / RATE
        tone = sum(w * math.sin(2 * math.pi * hz * t) for hz, w in p["partials"]) / total
        click = p["noise"] * noise.next() * math.exp(-p["noise_decay"] * t)
        out.append((tone + click) * math.exp(-p["decay"] * t))
    return out


def kaeru():
    p = KAERU
    out = [0.0] * samples(p["seconds"])
    for start, length, hz0, hz1, pulse in p["croaks"]:
        phase = 0.0
        n = samples(length)
        for i in range(n):
            t = i / RATE
            hz = hz0 + (hz1 - hz0) * i / n
            phase += 2 * math.pi * hz / RATE
            buzz = sum(math.sin(k * phase) / k for k in range(1, p["harmonics"] + 1))
            throat = 0.5 + 0.5 * math.cos(2 * math.pi * pulse * t)  # the croak's pulses
            envelope = math.sin(math.pi * i / n)
            out[samples(start) + i] += 0.6 * buzz * throat ** 2 * envelope
    return out


def fan():
    p = FAN
    out = [0.0] * samples(p["seconds"])
    total = sum(p["harmonics"])
    for start, length, hz in p["notes"]:
        n = samples(length)
        phase = 0.0
        for i in range(n):
            t = i / RATE
            vibrato = 1 + p["vibrato_depth"] * math.sin(2 * math.pi * p["vibrato_hz"] * t)
            phase += 2 * math.pi * hz * vibrato / RATE
            tone = sum(a * math.sin((k + 1) * phase) for k, a in enumerate(p["harmonics"])) / total
            envelope = min(1.0, t / p["attack"], (length - t) / p["release"])
            out[samples(start) + i] += tone * max(0.0, envelope)
    return out


def fin():
    p = FIN
    out = [0.0] * samples(p["seconds"])
    total = sum(w for _, w in p["partials"])
    for start, hz in p["strikes"]:
        first = samples(start)
        for i in range(len(out) - first):
            t = i / RATE
            out[first + i] += sum(
                w * math.sin(2 * math.pi * hz * r * t) * math.exp(-p["decay"] * math.sqrt(r) * t)
                for r, w in p["partials"]) / total
    return out


CUES = {"pi.wav": (pi, PI), "chop.wav": (chop, CHOP), "kaeru.wav": (kaeru, KAERU),
        "fan.wav": (fan, FAN), "fin.wav": (fin, FIN)}


def to_pcm(signal, level):
    peak = max(abs(x) for x in signal) or 1.0
    fade = samples(FADE_SECONDS)
    frames = bytearray()
    for i, x in enumerate(signal):
        gain = min(1.0, (len(signal) - 1 - i) / fade)
        frames += struct.pack("<h", int(round(x / peak * level * gain * 32767)))
    return bytes(frames)


def write(path, pcm):
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm)


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: make_sounds.py OUTDIR")
    out = Path(argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, (draw, params) in CUES.items():
        write(out / name, to_pcm(draw(), params["level"]))


if __name__ == "__main__":
    main(sys.argv)
