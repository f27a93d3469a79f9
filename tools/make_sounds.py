#!/usr/bin/env python3
"""Makes the game's sounds as RIFF/WAVE PCM mono files.

    python3 tools/make_sounds.py [output directory]

The default output directory is resources/sounds beside this tools folder.
Only the standard library is used, and the noise comes from a fixed seed,
so every run writes the same bytes. The sounds and their files are the ones
src/audio/sounds.def names; each is made by the function MAKERS gives it:

  BetAccepted  11,025 Hz 16-bit, 3,421 samples, with a fact chunk
  WinningLine  11,025 Hz  8-bit unsigned, 45,392 samples
  ReelStopped  22,050 Hz 16-bit, 5,277 samples
"""

import math
import os
import random
import re
import struct
import sys

TWO_PI = 2.0 * math.pi


def note(n):
    """Frequency of a note given in semitones from A4 (440 Hz)."""
    return 440.0 * 2.0 ** (n / 12.0)


def fade_ends(samples, rate, fade_in_ms=2.0, fade_out_ms=12.0):
    """Short raised-cosine ramps at both ends so the sound starts and stops
    without a click."""
    n = len(samples)
    fi = max(1, int(rate * fade_in_ms / 1000.0))
    fo = max(1, int(rate * fade_out_ms / 1000.0))
    for i in range(min(fi, n)):
        samples[i] *= 0.5 - 0.5 * math.cos(math.pi * i / fi)
    for i in range(min(fo, n)):
        samples[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fo)
    return samples


def normalise(samples, peak):
    top = max(abs(s) for s in samples)
    return [s * peak / top for s in samples] if top > 0 else samples


def pcm16(samples):
    out = bytearray()
    for s in samples:
        v = int(round(s * 32767.0))
        v = max(-32768, min(32767, v))
        out += struct.pack('<h', v)
    return bytes(out)


def pcm8(samples):
    out = bytearray()
    for s in samples:
        v = 128 + int(round(s * 127.0))
        out.append(max(0, min(255, v)))
    return bytes(out)


def wave_file(rate, bits, data, fact_samples=None):
    """A complete RIFF/WAVE file: "fmt " (16 bytes), optional "fact", "data"."""
    block_align = bits // 8
    fmt = struct.pack('<HHIIHH', 1, 1, rate, rate * block_align, block_align, bits)
    chunks = b'fmt ' + struct.pack('<I', len(fmt)) + fmt
    if fact_samples is not None:
        chunks += b'fact' + struct.pack('<II', 4, fact_samples)
    chunks += b'data' + struct.pack('<I', len(data)) + data
    if len(data) % 2:
        chunks += b'\0'  # chunks are word aligned
    return b'RIFF' + struct.pack('<I', 4 + len(chunks)) + b'WAVE' + chunks


# Sound 1: a coin dropping into the machine. Two quick bright tones, the
# second a fourth above the first, each a bell-like partial mix that dies
# away fast.
def coin_in():
    rate, count = 11025, 3421
    tones = [  # start (s), frequency, level, decay time constant (s)
        (0.000, note(14), 0.80, 0.035),   # B5
        (0.055, note(19), 1.00, 0.070),   # E6
    ]
    partials = [(1.0, 1.0), (2.76, 0.30), (4.1, 0.12)]  # ratio, level
    out = [0.0] * count
    for start, freq, level, tau in tones:
        first = int(start * rate)
        for i in range(first, count):
            t = (i - first) / rate
            env = math.exp(-t / tau) * min(1.0, t / 0.002)
            v = 0.0
            for ratio, amp in partials:
                f = freq * ratio
                if f < rate / 2 * 0.9:
                    v += amp * math.sin(TWO_PI * f * t)
            out[i] += level * env * v
    out = fade_ends(normalise(out, 0.80), rate, 1.0, 15.0)
    return wave_file(rate, 16, pcm16(out), fact_samples=count)


# Sound 2: the winning fanfare. A rising C-major arpeggio on a brassy tone,
# a short pickup, then the full chord held with a gentle vibrato and a slow
# release.
def fanfare():
    rate, count = 11025, 45392
    out = [0.0] * count

    partials = [(1, 1.0), (2, 0.45), (3, 0.25), (4, 0.12)]
    limit = 0.4 * rate

    def brass(freq, start, length, level, vibrato=0.0):
        first = int(start * rate)
        n = min(int(length * rate), count - first)
        attack, release = 0.015, min(0.25, length * 0.3)
        phase = 0.0
        for j in range(n):
            t = j / rate
            f = freq * (1.0 + vibrato * math.sin(TWO_PI * 5.5 * t) * min(1.0, t / 0.4))
            phase += TWO_PI * f / rate
            # Partials falling off: a round brass-like colour. Those that
            # would reach the top of the band are left out, so nothing folds
            # back as a harsh alias.
            v = 0.0
            for h, amp in partials:
                if h * freq < limit:
                    v += amp * math.sin(h * phase)
            env = min(1.0, t / attack)
            env *= 0.75 + 0.25 * math.exp(-t / 0.08)        # a little accent
            left = length - t
            if left < release:
                env *= 0.5 - 0.5 * math.cos(math.pi * left / release)
            out[first + j] += level * env * v

    step = 0.13
    arpeggio = [note(3), note(7), note(10), note(15), note(10), note(15), note(19)]  # C5 E5 G5 C6 G5 C6 E6
    for k, f in enumerate(arpeggio):
        brass(f, k * step, step * 1.6, 0.55)
    held_start = len(arpeggio) * step + 0.06
    held_length = count / rate - held_start
    for f in (note(3), note(7), note(10), note(15)):                  # C5 E5 G5 C6
        brass(f, held_start, held_length, 0.30, vibrato=0.006)
    # The held chord swells a little and then dies away over the last second.
    for i in range(int(held_start * rate), count):
        t = i / rate - held_start
        out[i] *= 1.0 - 0.35 * max(0.0, (t - 1.2) / (held_length - 1.2))
    out = fade_ends(normalise(out, 0.85), rate, 1.0, 40.0)
    return wave_file(rate, 8, pcm8(out))


# Sound 3: a reel locking into place. A low thump whose pitch drops, a
# sharp click of filtered noise at the moment of impact, and a short
# metallic ring, all gone within a quarter of a second.
def reel_stop():
    rate, count = 22050, 5277
    rng = random.Random(1038)
    out = [0.0] * count
    phase = 0.0
    low = 0.0
    for i in range(count):
        t = i / rate
        f = 55.0 + 110.0 * math.exp(-t / 0.025)          # 165 Hz falling to 55 Hz
        phase += TWO_PI * f / rate
        thump = math.sin(phase) * math.exp(-t / 0.045) * min(1.0, t / 0.001)
        noise = rng.uniform(-1.0, 1.0)
        low += 0.35 * (noise - low)                      # take the fizz off the noise
        click = low * math.exp(-t / 0.006)
        ring = (math.sin(TWO_PI * 1870.0 * t) + 0.6 * math.sin(TWO_PI * 2930.0 * t)) \
            * math.exp(-t / 0.018)
        out[i] = 1.0 * thump + 0.55 * click + 0.12 * ring
    out = fade_ends(normalise(out, 0.88), rate, 0.3, 20.0)
    return wave_file(rate, 16, pcm16(out))


MAKERS = {'BetAccepted': coin_in, 'WinningLine': fanfare, 'ReelStopped': reel_stop}


def game_sounds(here):
    """(name, file) of each sound src/audio/sounds.def names, in its order."""
    with open(os.path.join(here, '..', 'src', 'audio', 'sounds.def'), encoding='utf-8') as f:
        sounds = re.findall(r'^TIVORAN_SOUND\((\w+), *(\w+),', f.read(), re.MULTILINE)
    if not sounds:
        sys.exit('src/audio/sounds.def names no sound')
    return sounds


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources', 'sounds')
    os.makedirs(target, exist_ok=True)
    for name, file in game_sounds(here):
        if name not in MAKERS:
            sys.exit(f'no maker for the sound {name} of src/audio/sounds.def')
        data = MAKERS[name]()
        with open(os.path.join(target, file + '.wav'), 'wb') as f:
            f.write(data)
        print(f'{file}.wav: {len(data)} bytes')


if __name__ == '__main__':
    main()
