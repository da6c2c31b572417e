// Loops that count with popcount are built twice on x86-64, with the processor's popcount
// instruction and without (the baseline has none, and its replacement took most of the
// count's time); the program picks one when it starts.
#pragma once

#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define ZENTROPE_WITH_POPCOUNT __attribute__((target_clones("popcnt", "default")))
#endif
#endif
#ifndef ZENTROPE_WITH_POPCOUNT
#define ZENTROPE_WITH_POPCOUNT
#endif
