// The one process-wide random stream of the effects: a Mersenne Twister (MT19937) seeded with 5489
// and a uniform choice of an integer from 0 to 100 inclusive. Not thread-safe; the GL thread owns it.
#pragma once

// The next integer in 0..100 from the shared stream.
int randomPercent();
// Puts the stream back at its initial state, so a restarted demo draws the same numbers again.
void reseedRandom();
