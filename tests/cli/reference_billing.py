#!/usr/bin/python3
"""A second, independent implementation of the billing rules, used to check orvalis-cli.

Written from the written rules of the tariff, the connection log, the totals pass and the
report columns only, without looking at the C++ code. Python floats are IEEE doubles, so
the arithmetic below follows the documented order of operations step by step to give the
same bits; "%.2f" and "%.0f" round like C's printf.

Standard library only.
"""

import datetime
import math
import re

# ---------------------------------------------------------------------------
# ov.ini

def parse_ini(data):
    """Sections and keys of an INI text (bytes or str), names folded to lower case.

    The first occurrence of a section or key wins. Values are taken after the first "="
    with surrounding blanks removed.
    """
    if isinstance(data, bytes):
        data = data.decode("utf-8", errors="replace")
    result = {}
    section = None
    for raw in data.splitlines():
        line = raw.strip()
        if not line or line.startswith(";") or line.startswith("#"):
            continue
        if line.startswith("["):
            end = line.find("]")
            name = line[1:end if end >= 0 else None].strip().lower()
            section = result.setdefault(name, {})
            continue
        if section is None or "=" not in line:
            continue
        key, value = line.split("=", 1)
        section.setdefault(key.strip().lower(), value.strip())
    return result


# "Blanks" before a number are the C library's white space: space, tab, line feed,
# vertical tab, form feed and carriage return.
_BLANKS = r"[ \t\n\v\f\r]*"
_INT_RE = re.compile(_BLANKS + r"([+-]?[0-9]+)")

INT_MIN = -(2 ** 31)
INT_MAX = 2 ** 31 - 1


def leading_int(text):
    """Optional blanks and sign, digits up to the first non-digit; 0 when there are none."""
    if isinstance(text, bytes):
        text = text.decode("latin-1")
    m = _INT_RE.match(text)
    if not m:
        return 0
    return max(INT_MIN, min(INT_MAX, int(m.group(1))))


class Ini:
    def __init__(self, data):
        self.sections = parse_ini(data)

    def read_string(self, section, key, default):
        return self.sections.get(section.lower(), {}).get(key.lower(), default)

    def read_int(self, section, key, default):
        value = self.sections.get(section.lower(), {}).get(key.lower())
        if value is None:
            return default
        return leading_int(value)


# ---------------------------------------------------------------------------
# Numbers and clock texts

_MONEY_RE = re.compile(
    _BLANKS + r"([+-]?(?:[0-9]+(?:\.[0-9]*)?|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)")


def parse_money(text):
    """Leading decimal number: blanks, sign, digits, fraction, exponent; else 0.0.

    A number too large for a double also reads as 0, never as an infinity.
    """
    if isinstance(text, bytes):
        text = text.decode("latin-1")
    m = _MONEY_RE.match(text)
    if not m:
        return 0.0
    value = float(m.group(1))
    return 0.0 if math.isinf(value) else value


COUNT_MAX = 2 ** 63 - 1


def parse_count(text):
    """A byte count: the leading integer, exact. A negative value down to -2**31 is a
    32-bit count of an older version and reads as that value plus 2**32; anything below,
    or above 2**63-1, reads as 0."""
    if isinstance(text, bytes):
        text = text.decode("latin-1")
    m = _INT_RE.match(text)
    if not m:
        return 0
    value = int(m.group(1))
    if value < 0:
        return value + 2 ** 32 if value >= INT_MIN else 0
    return value if value <= COUNT_MAX else 0


def count_text(token):
    """A count column of the report: a whole number (an optional minus, digits) as it
    reads, any other text as it stands."""
    text = token.decode("latin-1") if isinstance(token, bytes) else token
    digits = text[1:] if text.startswith("-") else text
    if digits and all("0" <= c <= "9" for c in digits):
        return str(parse_count(token))
    return text_of(token)


def add_counts(a, b):
    """The sum of two counts, held at 2**63-1."""
    return min(COUNT_MAX, a + b)


def cfmt(form, value):
    """printf's "%.2f"/"%.0f": like Python's, except that a NaN keeps its sign."""
    if math.isnan(value):
        return "-nan" if math.copysign(1.0, value) < 0 else "nan"
    return form % value


def parse_clock_text(text):
    """Hours from the first two characters, minutes from the last two, in seconds."""
    hours = leading_int(text[:2])
    minutes = leading_int(text[-2:]) if text else 0
    return (hours * 60 + minutes) * 60


# ---------------------------------------------------------------------------
# Tariff

class Tariff:
    def __init__(self, ini):
        self.price_per_dial = parse_money(ini.read_string("Price", "PricePerDial", ""))
        self.cost_per_minute = parse_money(ini.read_string("Price", "CostPerMinute", ""))
        self.cheap_cost_per_minute = parse_money(
            ini.read_string("Price", "CheapCostPerMinute", ""))
        self.cheap_start = parse_clock_text(ini.read_string("Price", "CheapTimeStart", ""))
        self.cheap_end = parse_clock_text(ini.read_string("Price", "CheapTimeEnd", ""))
        self.cheap_in_sat = ini.read_int("Settings", "CheapInSat", 0)
        self.cheap_in_sun = ini.read_int("Settings", "CheapInSun", 0)
        self.minimum_time = parse_clock_text(ini.read_string("Price", "MinConTime", "00:00"))
        self.block_text = ini.read_string("Price", "ConnectionBlock", "00:00")
        self.block = parse_clock_text(self.block_text)
        self.free_text = ini.read_string("Price", "FreeMonthTime", "00:00")
        self.free_time = parse_clock_text(self.free_text)

    @staticmethod
    def raw_duration(start, end):
        if end > start:
            return end - start
        if end < start:
            return 86400 - (start - end)
        return 0

    def minimum(self, duration):
        if duration < self.minimum_time:
            return self.minimum_time
        return duration

    def is_cheap_time(self, start):
        lo, hi = self.cheap_start, self.cheap_end
        if lo > hi:  # runs across midnight
            return start > lo or start < hi
        if lo < hi:  # daytime window: strictly between the two
            return lo < start < hi
        return False  # equal bounds: no cheap time

    def price_call(self, day, month, year, start, raw):
        """Charged seconds, cheap flag and price of one call."""
        d = self.minimum(raw)
        if self.block_text != "00:00" and self.block > 0:
            d = -(-d // self.block) * self.block
        cheap = self.is_cheap_time(start)
        weekday = weekday_of(day, month, year)
        if weekday is not None:
            if self.cheap_in_sat == 1 and weekday == 5:
                cheap = True
            if self.cheap_in_sun == 1 and weekday == 6:
                cheap = True
        rate = self.cheap_cost_per_minute if cheap else self.cost_per_minute
        price = self.price_per_dial + rate * (1.0 / 60.0) * d
        return d, cheap, price

    def free_allowance_value(self):
        if self.free_text == "00:00":
            return 0.0
        f = self.free_time
        # f is always whole minutes, so the quotient and remainder are exact either way.
        q, r = int(f / 60), f - int(f / 60) * 60
        return self.price_per_dial + self.cost_per_minute * q + \
            self.cost_per_minute * (1.0 / 60.0) * r


def weekday_of(day, month, year):
    """Monday 0 .. Sunday 6, or None when the date is no real calendar date."""
    try:
        return datetime.date(year, month, day).weekday()
    except (ValueError, OverflowError):
        return None


# ---------------------------------------------------------------------------
# Connection log

# Lines longer than this (without the line break) are skipped whole by the tool. Record
# lines are at most 250 characters; what happens to longer ones is the reader's choice.
MAX_LINE_BYTES = 65536


class Record:
    __slots__ = ("raw", "tokens", "day", "month", "year", "start", "end")

    def token(self, i):
        return self.tokens[i] if i < len(self.tokens) else b""


def parse_time_token(tok):
    hours = leading_int(tok[:2])
    minutes = leading_int(tok[3:6])
    seconds = leading_int(tok[-2:]) if tok else 0
    return hours * 3600 + minutes * 60 + seconds


def read_log(data):
    """The records of a log file's bytes, in file order."""
    records = []
    for line in data.split(b"\n"):
        if line.endswith(b"\r"):
            line = line[:-1]
        if not line or len(line) > MAX_LINE_BYTES:
            continue
        tokens = [t for t in line.split(b"|") if t]
        if not tokens:
            continue
        rec = Record()
        rec.raw = line
        rec.tokens = tokens
        date = rec.token(0)
        rec.day = leading_int(date[:2])
        rec.month = leading_int(date[3:5])
        rec.year = leading_int(date[-4:]) if date else 0
        rec.start = parse_time_token(rec.token(1))
        rec.end = parse_time_token(rec.token(3))
        records.append(rec)
    return records


# ---------------------------------------------------------------------------
# Totals and summary

def format_span(seconds):
    """"%H:%M:%S" of a span: hours modulo 24, two digits each.

    A negative span (only malformed times give one) is shown as a minus sign before the
    form of its size.
    """
    sign = "-" if seconds < 0 else ""
    s = abs(seconds)
    return "%s%02d:%02d:%02d" % (sign, (s // 3600) % 24, (s // 60) % 60, s % 60)


def passes_filter(date_token, today_text, when):
    date_text = date_token.decode("latin-1")
    if when == 1:
        return date_text[3:5] == today_text[3:5]
    if when == 2:
        return date_text[0:2] == today_text[0:2] and date_text[3:5] == today_text[3:5]
    return True


def compute_totals(tariff, records, when, today):
    today_text = today.strftime("%d-%m-%Y")
    count = 0
    total_time = 0
    total_cost = 0.0
    uploaded = 0
    downloaded = 0
    for rec in records:
        if not passes_filter(rec.token(0), today_text, when):
            continue
        count += 1
        uploaded = add_counts(uploaded, parse_count(rec.token(7)))
        downloaded = add_counts(downloaded, parse_count(rec.token(8)))
        raw = Tariff.raw_duration(rec.start, rec.end)
        total_time += tariff.minimum(raw)
        _, _, price = tariff.price_call(rec.day, rec.month, rec.year, rec.start, raw)
        total_cost += price
    if when == 1 and count > 0:
        total_cost -= tariff.free_allowance_value()
    average = total_cost / count if count > 0 else 0.0
    return {
        "count": count, "total_time": total_time, "total_cost": total_cost,
        "average_cost": average, "uploaded": uploaded, "downloaded": downloaded,
        "transmitted": add_counts(uploaded, downloaded),
    }


def div_toward_zero(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def summary_lines(totals):
    count = totals["count"]
    if count > 0:
        average_cost = cfmt("%.2f", totals["average_cost"])
        average_len = format_span(div_toward_zero(totals["total_time"], count))
    else:
        average_cost = "0"
        average_len = "00:00:00"
    return [
        "Connections: %d" % count,
        "Total time online: " + format_span(totals["total_time"]),
        "Total cost: " + cfmt("%.2f", totals["total_cost"]),
        "Average cost per connection: " + average_cost,
        "Average connection length: " + average_len,
        "Total data uploaded: %d" % totals["uploaded"],
        "Total data downloaded: %d" % totals["downloaded"],
        "Total data transmitted: %d" % totals["transmitted"],
    ]


# ---------------------------------------------------------------------------
# Report

REPORT_HEADINGS = ["Date", "Start time", "End time", "Duration", "User", "Device", "ISP",
                   "Uploaded", "Downloaded", "Price"]


def text_of(token):
    return token.decode("utf-8", errors="replace")


def report_rows(tariff, records):
    rows = []
    for rec in reversed(records):
        raw = Tariff.raw_duration(rec.start, rec.end)
        _, _, price = tariff.price_call(rec.day, rec.month, rec.year, rec.start, raw)
        rows.append([text_of(rec.token(0)), text_of(rec.token(1)), text_of(rec.token(3)),
                     format_span(raw), text_of(rec.token(4)), text_of(rec.token(5)),
                     text_of(rec.token(6)), count_text(rec.token(7)),
                     count_text(rec.token(8)),
                     cfmt("%.2f", price)])
    return rows


def tsv_field(text):
    # A tab or line break inside a field would break the columns; shown as a blank.
    return text.replace("\t", " ").replace("\r", " ").replace("\n", " ")


def report_tsv(tariff, records):
    lines = ["\t".join(REPORT_HEADINGS)]
    for row in report_rows(tariff, records):
        lines.append("\t".join(tsv_field(f) for f in row))
    return "".join(line + "\n" for line in lines)


def csv_field(text):
    if any(c in text for c in ',"\r\n'):
        return '"' + text.replace('"', '""') + '"'
    return text


def report_csv(tariff, records):
    lines = [",".join(csv_field(f) for f in REPORT_HEADINGS)]
    for row in report_rows(tariff, records):
        lines.append(",".join(csv_field(f) for f in row))
    return "".join(line + "\r\n" for line in lines)


# ---------------------------------------------------------------------------
# One call priced from the command line

def price_line(tariff, date_text, start_text, end_text):
    day, month, year = (int(x) for x in date_text.split("-"))
    start = parse_time_token(start_text.encode())
    end = parse_time_token(end_text.encode())
    raw = Tariff.raw_duration(start, end)
    d, cheap, price = tariff.price_call(day, month, year, start, raw)
    return "%d %s %s" % (d, "cheap" if cheap else "normal", cfmt("%.2f", price))


if __name__ == "__main__":
    import argparse
    import sys

    parser = argparse.ArgumentParser(description="Reference billing figures.")
    parser.add_argument("--ini", required=True)
    parser.add_argument("--log")
    parser.add_argument("command", choices=["summary", "report", "csv", "price"])
    parser.add_argument("args", nargs="*")
    opts = parser.parse_args()
    with open(opts.ini, "rb") as f:
        ini = Ini(f.read())
    tariff = Tariff(ini)
    records = []
    if opts.log:
        try:
            with open(opts.log, "rb") as f:
                records = read_log(f.read())
        except OSError:
            pass
    if opts.command == "summary":
        when = {"all": 0, "month": 1, "today": 2}.get(
            opts.args[0] if opts.args else "", ini.read_int("Settings", "SummaryWhen", 0))
        for line in summary_lines(compute_totals(tariff, records, when,
                                                 datetime.date.today())):
            print(line)
    elif opts.command == "report":
        sys.stdout.write(report_tsv(tariff, records))
    elif opts.command == "csv":
        sys.stdout.write(report_csv(tariff, records))
    else:
        print(price_line(tariff, *opts.args))
