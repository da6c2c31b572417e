// The distribution functions behind the p-values.
#pragma once

#include <cstdint>

namespace zentrope {

// Upper regularised incomplete gamma Q(a, x); the chi-square tail is Q(df / 2, chi2 / 2).
double Igamc(double a, double x);
double Erfc(double x);
// Standard normal distribution function.
double NormalCdf(double x);
// Two-sided p-value of a standard normal statistic.
double NormalTwoSided(double z);
// P(X <= k) for X binomial with `trials` trials of success probability p.
double BinomialAtMost(uint64_t k, uint64_t trials, double p);

} // namespace zentrope
