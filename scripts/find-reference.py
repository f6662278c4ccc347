#!/usr/bin/env python3
"""An independent answer to `orvek find`, for measuring how often the command is right.

Reads KEN_ALL.CSV (or Japan Post's ken_all.zip) itself, decoded from CP932, joins the split
town areas and cleans the not-listed town area as `orvek find` documents, and decides which
records hold every word:

  - in the address (prefecture, city and town area as one text), compared in full width, with
    hiragana as katakana and ガ, ケ, ヶ and ヵ (が and け with them) as one character; kanji as
    they are;
  - or in the reading (the three readings as one), compared with a kana and its sound mark as
    one character (ｶﾞ is ガ, and ｶ is no part of it); a word with a kanji has no reading;
  - or, for a word of up to seven digits (a hyphen allowed after the third), as the start of
    the postal code.

  scripts/find-reference.py WORD...            the records the words find, as orvek prints them
  scripts/find-reference.py --compare N        N random queries (fixed seed) run through
                                               `orvek find --format jsonl`; the agreement rate
                                               and every disagreement

Standard library only. It is a measuring tool, not a test: it takes a minute or two.
"""

import argparse
import csv
import io
import json
import random
import subprocess
import sys
import unicodedata
import zipfile

VOICED, SEMI_VOICED = "\uff9e", "\uff9f"  # ﾞ ﾟ
NOT_LISTED = "以下に掲載がない場合"
KE_CLASS = set("ガケヶヵ")


def half_kana_to_full(ch):
    """One half-width katakana (U+FF61..U+FF9F) in full width; marks as ゛ ゜."""
    if ch == VOICED:
        return "\u309b"
    if ch == SEMI_VOICED:
        return "\u309c"
    return unicodedata.normalize("NFKC", ch)


def to_full(text):
    """Full width: ASCII signs, letters and digits, and half-width katakana with their marks
    composed where Unicode composes them."""
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        if "\x21" <= ch <= "\x7e":
            out.append(chr(ord(ch) + 0xFEE0))
        elif "\uff61" <= ch <= "\uff9f":
            full = half_kana_to_full(ch)
            if i + 1 < len(text) and text[i + 1] in (VOICED, SEMI_VOICED) and ch not in (VOICED, SEMI_VOICED):
                mark = "\u3099" if text[i + 1] == VOICED else "\u309a"
                composed = unicodedata.normalize("NFC", full + mark)
                if len(composed) == 1:
                    full = composed
                    i += 1
            out.append(full)
        else:
            out.append(ch)
        i += 1
    return "".join(out)


def name_form(text):
    """Full width, hiragana as katakana, the ガ ケ ヶ ヵ class as ヶ."""
    out = []
    for ch in to_full(text):
        if "\u3041" <= ch <= "\u3096":
            ch = chr(ord(ch) + 0x60)
        elif ch in "\u309d\u309e":  # ゝ ゞ
            ch = chr(ord(ch) + 0x5E)  # ヽ ヾ
        if ch in KE_CLASS:
            ch = "ヶ"
        out.append(ch)
    return "".join(out)


# Full-width katakana and signs that half-width lacks, as Japan Post writes them.
KATAKANA_WITHOUT_HALF = {"ヮ": "ﾜ", "ヰ": "ｲ", "ヱ": "ｴ", "ヵ": "ｶ", "ヶ": "ｹ"}


def half_of(ch):
    """The half-width form of one character, or None."""
    if "\uff01" <= ch <= "\uff5e":
        return chr(ord(ch) - 0xFEE0)
    if ch <= "\x7f" or "\uff61" <= ch <= "\uff9f":
        return ch
    if "\u3041" <= ch <= "\u3096":
        ch = chr(ord(ch) + 0x60)
    if ch in KATAKANA_WITHOUT_HALF:
        return KATAKANA_WITHOUT_HALF[ch]
    specials = {"ー": "ｰ", "。": "｡", "「": "｢", "」": "｣", "、": "､", "・": "･", "゛": "ﾞ", "゜": "ﾟ"}
    if ch in specials:
        return specials[ch]
    if "\u30a1" <= ch <= "\u30f4":
        nfkd = unicodedata.normalize("NFD", ch)
        base = nfkd[0]
        for half in (chr(c) for c in range(0xFF66, 0xFF9E)):
            if unicodedata.normalize("NFKC", half) == base:
                rest = {"\u3099": VOICED, "\u309a": SEMI_VOICED}.get(nfkd[1:], "") if len(nfkd) > 1 else ""
                return half + rest
    return None


def to_half(text):
    """The half-width form, or None when a character has none (a kanji)."""
    out = []
    for ch in text:
        half = half_of(ch)
        if half is None:
            return None
        out.append(half)
    return "".join(out)


def reading_form(half_width):
    """A reading compared character by character, a kana and its mark being one."""
    return to_full(half_width)


def code_prefix(word):
    half = "".join(chr(ord(c) - 0xFEE0) if "\uff01" <= c <= "\uff5e" else c for c in word)
    digits = ""
    for i, c in enumerate(half):
        if c.isascii() and c.isdigit():
            digits += c
        elif not (c == "-" and i == 3 and len(digits) == 3):
            return None
    return digits if 0 < len(digits) <= 7 else None


def read_records(path):
    if path.endswith(".zip"):
        with zipfile.ZipFile(path) as archive:
            name = next(n for n in archive.namelist() if n.upper() == "KEN_ALL.CSV")
            data = archive.read(name)
    else:
        with open(path, "rb") as f:
            data = f.read()
    lines = list(csv.reader(io.StringIO(data.decode("cp932"), newline="")))
    records = []
    i = 0
    while i < len(lines):
        row = list(lines[i]) + [""] * (15 - len(lines[i]))
        i += 1
        town, reading = row[8], row[5]
        first_reading = reading
        while town.count("（") > town.count("）") and i < len(lines) and lines[i][2] == row[2]:
            town += lines[i][8]
            if lines[i][5] != first_reading:
                reading += lines[i][5]
            i += 1
        row[8], row[5] = town, reading
        if row[8] == NOT_LISTED:
            row[8], row[5] = "", ""
        records.append(row)
    return records


class Reference:
    def __init__(self, path):
        self.records = read_records(path)
        self.addresses = [name_form(r[6] + r[7] + r[8]) for r in self.records]
        self.readings = [reading_form(r[3] + r[4] + r[5]) for r in self.records]

    def find(self, words):
        tests = []
        for word in words:
            half = to_half(word)
            tests.append((name_form(word), reading_form(half) if half is not None else None,
                          code_prefix(word)))
        found = []
        for i, r in enumerate(self.records):
            if all((code is not None and r[2].startswith(code)) or address in self.addresses[i]
                   or (reading is not None and reading in self.readings[i])
                   for address, reading, code in tests):
                found.append(i)
        return found


def split_words(text):
    return text.replace("\u3000", " ").split()


def key(record_or_object):
    if isinstance(record_or_object, dict):
        o = record_or_object
        return (o["code"], o["prefecture"], o["city"], o["town"])
    r = record_or_object
    return (r[2], r[6], r[7], r[8])


def katakana(text):
    return "".join(chr(ord(c) + 0x60) if "\u3041" <= c <= "\u3096" else c for c in text)


def hiragana(text):
    return "".join(chr(ord(c) - 0x60) if "\u30a1" <= c <= "\u30f6" else c for c in text)


def random_queries(ref, count, seed):
    rng = random.Random(seed)
    records = ref.records
    queries = []

    def substring(text, low, high):
        if not text:
            return None
        length = rng.randint(low, min(high, len(text)))
        start = rng.randint(0, len(text) - length)
        return text[start:start + length]

    kinds = ["name", "reading_hira", "reading_kata", "reading_half", "kana_name", "ke", "short_kana",
             "digits", "two_words"]
    while len(queries) < count:
        kind = kinds[len(queries) % len(kinds)]
        r = rng.choice(records)
        query = None
        if kind == "name":
            query = substring(r[6] + r[7] + r[8], 1, 5)
        elif kind in ("reading_hira", "reading_kata", "reading_half"):
            full = reading_form(r[3] + r[4] + r[5])
            part = substring(full, 1, 6)
            if part:
                query = {"reading_hira": hiragana(part), "reading_kata": part,
                         "reading_half": to_half(part) or part}[kind]
        elif kind == "kana_name":
            # A name with kana in it, its kana turned to the other kind.
            candidates = [x for x in rng.sample(records, 400)
                          if any("\u3041" <= c <= "\u30f6" for c in x[7] + x[8])]
            if candidates:
                x = rng.choice(candidates)
                text = x[7] + x[8]
                at = next(i for i, c in enumerate(text) if "\u3041" <= c <= "\u30f6")
                part = text[max(0, at - rng.randint(0, 2)):at + rng.randint(1, 3)]
                query = hiragana(part) if any("\u30a1" <= c <= "\u30f6" for c in part) else katakana(part)
        elif kind == "ke":
            candidates = [x for x in rng.sample(records, 600) if any(c in "がガケヶヵ" for c in x[8])]
            if candidates:
                x = rng.choice(candidates)
                at = next(i for i, c in enumerate(x[8]) if c in "がガケヶヵ")
                part = x[8][max(0, at - 1):at + 2]
                query = part.replace(x[8][at], rng.choice("がガケヶヵ"))
        elif kind == "short_kana":
            kana = [chr(c) for c in range(0x3041, 0x3094)]
            query = "".join(rng.choice(kana) for _ in range(rng.randint(1, 2)))
        elif kind == "digits":
            code = r[2]
            query = code[:rng.randint(1, 7)]
            if len(query) > 3 and rng.random() < 0.5:
                query = query[:3] + "-" + query[3:]
        elif kind == "two_words":
            query = (substring(r[7], 1, 3) or "") + " " + (substring(hiragana(reading_form(r[5])), 1, 3) or "")
        if query and query.strip():
            queries.append(query)
    return queries


def run_orvek(orvek, data_dir, query):
    result = subprocess.run([orvek, "--data-dir", data_dir, "find", "--format", "jsonl", "--"]
                            + split_words(query), capture_output=True)
    if result.returncode != 0:
        return None, result.stderr.decode(errors="replace").strip()
    return [key(json.loads(line)) for line in result.stdout.decode().splitlines()], ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("words", nargs="*")
    parser.add_argument("--data", default="build/data/KEN_ALL.CSV",
                        help="KEN_ALL.CSV or ken_all.zip (default: %(default)s)")
    parser.add_argument("--compare", type=int, metavar="N", help="random queries to compare")
    parser.add_argument("--seed", type=int, default=14)
    parser.add_argument("--orvek", default="build/bin/orvek")
    parser.add_argument("--data-dir", default="build/data", help="the folder orvek reads")
    args = parser.parse_args()

    ref = Reference(args.data)
    if not args.compare:
        for i in ref.find(split_words(" ".join(args.words))):
            r = ref.records[i]
            print("\t".join([r[2], r[6], r[7], r[8]]))
        return 0

    queries = random_queries(ref, args.compare, args.seed)
    agreed = 0
    for query in queries:
        expected = [key(ref.records[i]) for i in ref.find(split_words(query))]
        got, error = run_orvek(args.orvek, args.data_dir, query)
        if got == expected:
            agreed += 1
            continue
        print(f"DISAGREE {query!r}: reference {len(expected)}, orvek "
              f"{'error: ' + error if got is None else len(got)}")
        if got is not None:
            got_set, expected_set = set(got), set(expected)
            for k in [k for k in expected if k not in got_set][:3]:
                print("  only reference:", " ".join(k))
            for k in [k for k in got if k not in expected_set][:3]:
                print("  only orvek:    ", " ".join(k))
    print(f"agreement: {agreed}/{len(queries)} = {100.0 * agreed / len(queries):.1f}%")
    return 0 if agreed == len(queries) else 1


if __name__ == "__main__":
    sys.exit(main())
