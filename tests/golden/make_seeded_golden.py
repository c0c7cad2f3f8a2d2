#!/usr/bin/env python3
"""An independent model of the seeded exact draws, written from their published rules rather than
from our C++: xoshiro256** seeded by splitmix64, its outputs spent as bits, and the few runs
pinned in tests/cli/test_cli_seeded.cpp. Run it to regenerate them."""

M = (1 << 64) - 1


def rotl(x, k):
    return ((x << k) | (x >> (64 - k))) & M


def splitmix64(state):
    state = (state + 0x9E3779B97F4A7C15) & M
    z = state
    z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & M
    z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & M
    return state, z ^ (z >> 31)


class Xoshiro:
    def __init__(self, s):
        self.s = list(s)

    @staticmethod
    def from_seed(seed):
        s, state = [], seed
        for _ in range(4):
            state, z = splitmix64(state)
            s.append(z)
        return Xoshiro(s)

    def next(self):
        s = self.s
        result = (rotl((s[1] * 5) & M, 7) * 9) & M
        t = (s[1] << 17) & M
        s[2] ^= s[0]
        s[3] ^= s[1]
        s[1] ^= s[2]
        s[0] ^= s[3]
        s[2] ^= t
        s[3] = rotl(s[3], 45)
        return result


class Bits:
    """A draw from 0 to top takes as many bits as top has, from the low end of the current word
    (a fresh word when too few are left), and draws again when the value lies above top."""

    def __init__(self, seed):
        self.gen = Xoshiro.from_seed(seed)
        self.pool = 0
        self.left = 0

    def bits(self, n):
        if n > self.left:
            self.pool, self.left = self.gen.next(), 64
        value = self.pool & ((1 << n) - 1)
        self.pool >>= n
        self.left -= n
        return value

    def up_to(self, top):
        n = top.bit_length()
        if n == 0:
            return 0
        while True:
            v = self.bits(n)
            if v <= top:
                return v


def strings(seed, alphabet, lo, hi, count):
    src, out = Bits(seed), []
    alphabet = sorted(set(alphabet))
    for _ in range(count):
        n = lo + src.up_to(hi - lo)
        out.append(''.join(alphabet[src.up_to(len(alphabet) - 1)] for _ in range(n)))
    return out


def numbers(seed, lo, hi, count, whole, decimal, decimals=2):
    src, out = Bits(seed), []
    for _ in range(count):
        if decimal and (not whole or src.up_to(1) == 1):
            scale = 10 ** decimals
            v = lo * scale + src.up_to((hi - lo) * scale)
            out.append('%s%d.%0*d' % ('-' if v < 0 else '', abs(v) // scale, decimals,
                                      abs(v) % scale))
        else:
            out.append(str(lo + src.up_to(hi - lo)))
    return out


UPPER = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ'
LOWER = UPPER.lower()
SYMBOLS = '!"#$%&\'()*+,-./:;<=>?@[\\]^_`{|}~'

if __name__ == '__main__':
    ref = Xoshiro([1, 2, 3, 4])
    print('xoshiro256** {1,2,3,4}:', [ref.next() for _ in range(10)])
    print('from seed 0:', [hex(Xoshiro.from_seed(0).next())])
    runs = {
        'strings --seed 1 --symbols -n 3': strings(1, UPPER + LOWER + SYMBOLS, 5, 8, 3),
        'strings --seed 20261208 --charset 0123456789abcdef --length 12 -n 3':
            strings(20261208, '0123456789abcdef', 12, 12, 3),
        'numbers --seed 1 --int --min 0 --max 1e18 -n 3':
            numbers(1, 0, 10**18, 3, True, False),
        'numbers --seed 9 --min 1 --max 3e9 -n 4': numbers(9, 1, 3 * 10**9, 4, True, True),
    }
    for args, lines in runs.items():
        print('{"%s", "%s"},' % (args, ''.join(l.replace('\\', '\\\\').replace('"', '\\"') + '\\n'
                                               for l in lines)))
