#pragma once
// The min-entropy of exact strings: -log2 of the chance of the likeliest body. With lengths that
// vary, the shortest bodies are the likeliest (each of a length is as likely as another, and a
// length's chance is shared by letters^length bodies), so the weakest string carries far less than
// the Shannon entropy, the average, says.

#include "Alphabet.h"

// The fewest characters of alphabet that hold every required class between them: 0 without one.
int FewestCovering(const Alphabet& alphabet);

// In bits; odds are OddsOf(alphabet, lenMin, lenMax) (the share of drawn bodies kept). 0 when no
// body is kept.
double MinEntropyBits(const Alphabet& alphabet, int lenMin, int lenMax, const BodyOdds& odds);
