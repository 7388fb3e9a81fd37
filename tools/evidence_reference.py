#!/usr/bin/env python3
"""Reference values for tests/calc/evidence_test.cpp, from implementations independent of ours.

z and its p-value: R's prop.test without continuity correction (its statistic is z squared; the
sign is that of p1 - p2). Fisher's exact p: R's fisher.test. Smallest expected count: R's
chisq.test. Interval: Newcombe's hybrid score method written out from the paper in 50-digit
arithmetic (mpmath), cross-checked with statsmodels. Bases needed: exact rational arithmetic with
the critical values as decimals. The p-values are cross-checked with SciPy as well.

Needs Rscript, python3-scipy, python3-statsmodels and python3-mpmath (Debian packages).
Prints one C++ table row per case and, on standard error, the largest disagreements.
"""
import math
import subprocess
import sys
from fractions import Fraction

import mpmath
from scipy import stats
from statsmodels.stats.proportion import confint_proportions_2indep

mpmath.mp.dps = 50
CRITICAL = {80: "1.28", 90: "1.64", 95: "1.96", 99: "2.33"}
FISHER_BASE_LIMIT = 2**24
MOST_BASES_NEEDED = 10**15
FLT_MAX = (2**24 - 1) * 2**104  # the largest Single

# base1, resp1, base2, resp2, level
CASES = [
    (200, 50, 300, 120, 95),
    (100, 20, 200, 40, 90),
    (10, 0, 10, 10, 99),
    (10, 0, 20, 0, 80),
    (5, 5, 7, 7, 95),
    (5, 1, 5, 4, 95),
    (3, 0, 3, 3, 90),
    (1000000, 250000, 1000000, 251000, 95),
    (16777216, 8388608, 16777216, 8392000, 80),
    (1000, 523, 1000, 480, 90),
    (100, 10, 100, 20, 80),
    (100, 10, 100, 20, 99),
    (1, 0, 2, 1, 95),
    (50, 50, 100, 50, 99),
    (30, 7, 45, 3, 95),
    (20, 1, 1000, 300, 90),
    (1, 1, 1, 0, 80),
    (4, 2, 4, 2, 95),
    (12, 2, 9, 7, 95),
    (1000000, 1, 1000000, 6, 95),
    (1000, 100, 1000, 500, 99),
    (1000, 0, 1000, 1000, 95),
    (500, 0, 400, 1, 90),
    (30000000, 10000000, 30000000, 10010000, 95),
    (30000000, 1, 30000000, 6, 90),
    (16777216, 8388608, 16777215, 8388607, 95),
    (FLT_MAX, 0, FLT_MAX, FLT_MAX, 95),
    # Bases needed just above a whole number, then exactly whole ones: rounding must not add one.
    (7221, 3429, 78, 37, 99),
    (14, 10, 694, 498, 99),
    (7, 1, 25, 3, 80),
    (10, 3, 25, 7, 95),
    (5, 2, 36, 14, 90),
]


def r_values(cases):
    """prop.test z and p, fisher.test p and the smallest expected count, per case."""
    lines = ["options(warn = -1)"]
    for n1, r1, n2, r2, _ in cases:
        lines.append(
            f"x <- c({r1}, {r2}); n <- c({n1}, {n2}); m <- matrix(c({r1}, {n1 - r1}, {r2}, {n2 - r2}), 2)\n"
            "t <- prop.test(x, n, correct = FALSE)\n"
            "f <- if (max(n) <= 2^24) fisher.test(m)$p.value else NA\n"
            "e <- min(chisq.test(m, correct = FALSE)$expected)\n"
            "cat(sprintf('%.17g', c(sign(x[1] / n[1] - x[2] / n[2]) * sqrt(t$statistic), t$p.value, f, e)), '\\n')"
        )
    script = "\n".join(lines)
    out = subprocess.run(["Rscript", "--vanilla", "-"], input=script, check=True, capture_output=True, text=True).stdout
    return [[math.nan if v == "NA" else float(v) for v in line.split()] for line in out.strip().splitlines()]


def wilson(r, n, q):
    r, n = mpmath.mpf(r), mpmath.mpf(n)
    p = r / n
    root = q * mpmath.sqrt(q * q + 4 * r * (1 - p))
    return (2 * r + q * q - root) / (2 * (n + q * q)), (2 * r + q * q + root) / (2 * (n + q * q))


def newcombe(n1, r1, n2, r2, level):
    q = mpmath.sqrt(2) * mpmath.erfinv(mpmath.mpf(level) / 100)
    l1, u1 = wilson(r1, n1, q)
    l2, u2 = wilson(r2, n2, q)
    p1, p2 = mpmath.mpf(r1) / n1, mpmath.mpf(r2) / n2
    low = p1 - p2 - mpmath.sqrt((p1 - l1) ** 2 + (u2 - p2) ** 2)
    high = p1 - p2 + mpmath.sqrt((u1 - p1) ** 2 + (p2 - l2) ** 2)
    return float(low), float(high)


def bases_needed(n1, r1, n2, r2, level):
    if r1 * n2 == r2 * n1:
        return None
    total, results = n1 + n2, r1 + r2
    variance = Fraction(results, total) * Fraction(total - results, total) * (Fraction(1, n1) + Fraction(1, n2))
    difference = Fraction(r1, n1) - Fraction(r2, n2)
    scale = Fraction(CRITICAL[level]) ** 2 * variance / difference**2
    needed = [math.ceil(scale * n1), math.ceil(scale * n2)]
    return None if max(needed) > MOST_BASES_NEEDED else needed


def relative(a, b):
    return 0.0 if a == b else abs(a - b) / max(abs(a), abs(b))


def count(value):
    return f"{float(value)!r}f" if value >= 2**53 else str(value)


def cpp(value):
    return "{}" if value is None or math.isnan(value) else repr(value)


def main():
    worst = {"statsmodels interval": 0.0, "scipy p": 0.0, "scipy fisher": 0.0}
    for (n1, r1, n2, r2, level), (z, p, fisher, expected) in zip(CASES, r_values(CASES)):
        low, high = newcombe(n1, r1, n2, r2, level)
        sm = confint_proportions_2indep(r1, n1, r2, n2, method="newcomb", compare="diff", alpha=1 - level / 100)
        worst["statsmodels interval"] = max(worst["statsmodels interval"], relative(low, sm[0]), relative(high, sm[1]))
        if not math.isnan(z):
            worst["scipy p"] = max(worst["scipy p"], relative(p, 2 * stats.norm.sf(abs(z))))
        if not math.isnan(fisher):
            scipy_fisher = stats.fisher_exact([[r1, n1 - r1], [r2, n2 - r2]])[1]
            worst["scipy fisher"] = max(worst["scipy fisher"], relative(fisher, scipy_fisher))
        needed = bases_needed(n1, r1, n2, r2, level)
        needed_text = "{}" if needed is None else f"{{{{{needed[0]}, {needed[1]}}}}}"
        entries = ", ".join(count(v) for v in (n1, r1, n2, r2))
        print(f"    {{{{{entries}}}, L::k{level}, {cpp(z)}, {cpp(p)}, {low!r}, {high!r}, "
              f"{expected!r}, {cpp(fisher)}, {needed_text}}},")
    for name, value in worst.items():
        print(f"largest relative difference, {name}: {value:.3g}", file=sys.stderr)


if __name__ == "__main__":
    main()
