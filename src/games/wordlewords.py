#!/usr/bin/env python3
"""Builds the word game's lists, wordle-answers.txt and wordle-allowed.txt.

Run once from this folder with the Debian dictionaries installed
(apt-get install wamerican-small wamerican wamerican-huge wamerican-insane
wbritish-huge); the output is committed, so neither the build nor the
program needs them.

- answers: 2315 common five-letter words. All of wamerican-small's
  lowercase five-letter words that are not plain inflections (plurals,
  past tenses of a shorter word) nor non-words, topped up with words of
  the same kind from wamerican, taken evenly across the alphabet.
  Non-words are the ones nobody should be asked to guess: Roman numerals
  ("xxxiv", "clxix": any word that reads as one), and the abbreviations
  ("assoc", "contd") and spoken contractions ("gotta", "wanna", "dunno")
  the word lists carry, named in NON_WORDS below. Their places are filled
  by further words of the same kind, again taken evenly. They stay allowed
  as guesses.
- allowed: 10657 further guesses, none of them an answer: the remaining
  five-letter words of wamerican-huge and wbritish-huge, topped up evenly
  from wamerican-insane.

Both files hold the words in alphabetical order, twelve to a line, each
line indented by four spaces, with no line feed after the last word.
"""
import re

ANSWERS = 2315
ALLOWED = 10657
FIVE = re.compile(r"[a-z]{5}")
ROMAN = re.compile(r"m{0,4}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})")
NON_WORDS = {
    # abbreviations written without their full stop
    "altho", "assoc", "chapt", "contd", "treas",
    # spoken contractions
    "cuppa", "dunno", "gimme", "gonna", "gotta", "hafta", "kinda", "lemme",
    "lotta", "musta", "outta", "sorta", "wanna",
}


def is_word(w):
    return not ROMAN.fullmatch(w) and w not in NON_WORDS


def words(name):
    with open("/usr/share/dict/" + name, encoding="utf-8", errors="ignore") as f:
        return {w.strip() for w in f}


def five(ws):
    return {w for w in ws if FIVE.fullmatch(w)}


def inflected(w, stems):
    if w.endswith("s") and not w.endswith("ss"):
        if w[:-1] in stems or (w.endswith("es") and w[:-2] in stems):
            return True
        if w.endswith("ies") and w[:-3] + "y" in stems:
            return True
    if w.endswith("ed"):
        if w[:-2] in stems or w[:-1] in stems:
            return True
        if w.endswith("ied") and w[:-3] + "y" in stems:
            return True
        if w[-3] == w[-4] and w[:-3] in stems:
            return True
    return False


def spread(pool, n):
    """n words taken evenly across the sorted pool."""
    pool = sorted(pool)
    if n >= len(pool):
        return pool
    return [pool[(i * len(pool)) // n] for i in range(n)]


def write(name, ws):
    lines = ["    " + " ".join(ws[i:i + 12]) for i in range(0, len(ws), 12)]
    with open(name, "w", encoding="ascii") as f:
        f.write("\n".join(lines))


small, default = words("american-english-small"), words("american-english")
stems = small | default
common = sorted(w for w in five(small) if not inflected(w, stems))
more = sorted(w for w in five(default) - set(common) if not inflected(w, stems))
picked = common + spread(more, ANSWERS - len(common))
# Non-words leave the pick, and as many more words of the same kind, again
# taken evenly, fill their places; the rest of the pick stays as it was.
answers = [w for w in picked if is_word(w)]
spare = [w for w in more if w not in set(picked) and is_word(w)]
answers = sorted(answers + spread(spare, ANSWERS - len(answers)))
assert len(answers) == ANSWERS and "smile" in answers

big = five(words("american-english-huge") | words("british-english-huge")) - set(answers)
rest = five(words("american-english-insane")) - big - set(answers)
allowed = sorted(big | set(spread(rest, ALLOWED - len(big))))
assert len(allowed) == ALLOWED and not set(allowed) & set(answers)

write("wordle-answers.txt", answers)
write("wordle-allowed.txt", allowed)
