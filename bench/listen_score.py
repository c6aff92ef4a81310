#!/usr/bin/env python3
"""Scores copies of generated beacon audio against the frames sent.

Reads lines "CONDITION SNR DECODER SENT COPY" on standard input: SENT is the log of the frames
sent (HI HI and six rows each), COPY what a decoder wrote: a log (DECODER ao07-listen: only its
rows count, as the log reader takes them) or free text (any other DECODER: every digit outside
<...>, which multimon-ng writes for what it could not read).

Both are scored by one rule. The digits copied, in order (x for a digit not heard), are aligned
to the digits sent by the fewest edits (Levenshtein). A value digit sent (the two after each
group's row digit) counts as an error when it is aligned to another digit (wrong), to an x
(not heard) or to nothing (missed); each digit written that matches nothing sent is wrong too.
Prints per condition, SNR and decoder: value digits sent, digit error % (wrong, x or missed)
and wrong % (wrong digits written, including extra ones), as columns for gnuplot.
"""
import re
import sys
from collections import defaultdict


def sent_digits(path):
    digits = []
    with open(path, encoding="latin-1") as log:
        for line in log:
            line = line.strip()
            if len(line) == 15 and line[0] in "123456":
                digits += [c for i, c in enumerate(line) if i % 4 != 3]
    return digits


def copied_digits(path, is_log):
    with open(path, encoding="latin-1") as copy:
        text = copy.read()
    if is_log:
        return sent_digits(path)
    return re.findall(r"[0-9]", re.sub(r"<[^>]*>", " ", text))


def score(sent, copied):
    """(errors at value digits, wrong at value digits, extra digits written) after alignment."""
    n, m = len(sent), len(copied)
    cost = [[0] * (m + 1) for _ in range(n + 1)]
    for i in range(n + 1):
        cost[i][0] = i
    for j in range(m + 1):
        cost[0][j] = j
    for i in range(1, n + 1):
        row, above = cost[i], cost[i - 1]
        s = sent[i - 1]
        for j in range(1, m + 1):
            row[j] = min(above[j - 1] + (s != copied[j - 1]), above[j] + 1, row[j - 1] + 1)
    errors = wrong = extra = 0
    i, j = n, m
    while i > 0 or j > 0:
        value = i > 0 and (i - 1) % 3 != 0
        if i > 0 and j > 0 and cost[i][j] == cost[i - 1][j - 1] + (sent[i - 1] != copied[j - 1]):
            if value and sent[i - 1] != copied[j - 1]:
                errors += 1
                wrong += copied[j - 1] != "x"
            i, j = i - 1, j - 1
        elif i > 0 and cost[i][j] == cost[i - 1][j] + 1:
            errors += value
            i -= 1
        else:
            extra += copied[j - 1] != "x"
            j -= 1
    return errors, wrong, extra


def main():
    totals = defaultdict(lambda: [0, 0, 0])
    order = []
    for line in sys.stdin:
        condition, snr, decoder, sent_path, copy_path = line.split()
        key = (condition, float(snr), decoder)
        if key not in totals:
            order.append(key)
        sent = sent_digits(sent_path)
        errors, wrong, extra = score(sent, copied_digits(copy_path, decoder == "ao07-listen"))
        total = totals[key]
        total[0] += sum(1 for i in range(len(sent)) if i % 3 != 0)
        total[1] += errors
        total[2] += wrong + extra
    print("# condition snr_db decoder value_digits digit_error_% wrong_%")
    for key in sorted(order):
        digits, errors, wrong = totals[key]
        print(f"{key[0]} {key[1]:g} {key[2]} {digits} {100 * errors / digits:.2f} "
              f"{100 * wrong / digits:.2f}")


main()
