#!/usr/bin/env python3
"""An independent model of the generators, written from their rules rather than from our C++, that
prints the golden outputs pinned in tests/test_golden.cpp. Run it to regenerate them."""
import math
import struct
from decimal import ROUND_HALF_UP, Decimal


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


class Source:
    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def draw(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF

    def between(self, lo, hi):
        r = self.draw()
        return lo + math.fmod(r, hi - lo + 1).__int__()

    def rand_float(self, lo, hi):
        a = int(lo * 10000.0)
        p = self.draw() * self.draw()
        b = int(hi * 10000.0)
        n = a + int(math.fmod(p, b - a))
        return n * f32(0.0001)


def fixed(v, decimals):
    q = Decimal(v).quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP)
    text = format(q, 'f')
    if math.copysign(1.0, v) < 0 and not text.startswith('-'):
        text = '-' + text
    return text


def number_item(src, integer, floating, lo, hi, decimals):
    lo, hi = f32(lo), f32(hi)
    while True:
        kind = src.between(1, 2)
        if kind == 1 and integer:
            return str(src.between(int(lo), int(hi)))
        if kind == 2 and floating:
            return fixed(f32(src.rand_float(lo, hi)), decimals)


def numbers_run(seed, integer, floating, lo, hi, decimals, count):
    src = Source(seed)
    return ''.join(number_item(src, integer, floating, lo, hi, decimals) + '\r\n' for _ in range(count))


def atoi(text):
    i = 0
    while i < len(text) and text[i] in ' \t\n\v\f\r':
        i += 1
    sign = 1
    if i < len(text) and text[i] in '+-':
        sign = -1 if text[i] == '-' else 1
        i += 1
    v = 0
    while i < len(text) and text[i].isdigit():
        v = v * 10 + int(text[i])
        i += 1
    return sign * v


def fields(spec, index):
    parts = spec.split('|')
    return parts[index] if index < len(parts) else ''


def apply_inserts(spec, s):
    if not spec:
        return s
    length, last, k = len(s), 0, 0
    while True:
        pos, txt = fields(spec, k), fields(spec, k + 1)
        k += 2
        if not pos:
            return s
        p = atoi(pos)
        if p > length or (last != 0 and p >= last):
            continue
        last = p
        at = max(p, 0)
        s = s[:at] + txt + s[at:]


def make_string(src, classes, head, tail, spec, lo, hi):
    body = ''
    n = src.between(lo, hi)
    for _ in range(max(n, 0)):
        while True:
            c = src.between(1, 4)
            if c in classes:
                break
        first, last = {1: 'AZ', 2: 'az', 3: '09'}[c]
        body += chr(src.between(ord(first), ord(last)))
    return apply_inserts(spec, head + body + tail)


def strings_run(seed, classes, head, tail, spec, lo, hi, count):
    src = Source(seed)
    return ''.join(make_string(src, classes, head, tail, spec, lo, hi) + '\r\n' for _ in range(count))


def c_literal(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"').replace('\r\n', '\\r\\n"\n        "') + '"'


CASES = [
    ('NumbersBothKinds80To100', numbers_run(1, True, True, 80, 100, 2, 10)),
    ('NumbersBothKindsOtherSeed', numbers_run(20261207, True, True, 80, 100, 2, 10)),
    ('NumbersDecimalsNegative', numbers_run(7, False, True, -1.5, -0.5, 4, 10)),
    ('NumbersDecimalsEight', numbers_run(42, False, True, 0.7, 1, 8, 10)),
    ('NumbersWholeTruncated', numbers_run(3, True, False, -2.5, 3.9, 2, 12)),
    ('StringsDefaults', strings_run(1, {1, 2}, '', '', '', 5, 8, 10)),
    ('StringsHeadTailInserts', strings_run(99, {1, 2, 3}, 'id', 'x', '6|-|3|_', 0, 12, 10)),
]

if __name__ == '__main__':
    for name, text in CASES:
        print(f'    {{"{name}",\n        {c_literal(text)}}},')
