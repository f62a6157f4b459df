#!/usr/bin/python3
"""Differential test: orvalis-cli against the reference billing rules in reference_billing.py.

Generates random tariffs and logs from a seed, runs `summary` (each filter and the stored
one), `report`, `report --csv` and `price` through the built tool, and compares every line
with the reference. On a mismatch it prints the seed, the case, the settings, the log and
the first differing line, keeps the case's files for reproduction, and exits 1.

Usage: differential_test.py --cli PATH [--cases N] [--seed S] [--keep-going] [--case K]
"""

import argparse
import datetime
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference_billing as ref  # noqa: E402

# ---------------------------------------------------------------------------
# Random settings

MONEY_TEXTS = [
    "0.6000000000", "0.1000000000", "0.3000000000", "0.1", "0.6", "0.3", "1.25", "0", "2",
    "0.05", "3.333", "0.0166666667", "0.35", "1.1", "12.5", "0.07",
    # texts the leading-number rule must handle
    " 0.5x", "1e2", "1e-3", "inf", "nan", "0x10", "", "-0.1", ".5", "5.", "1e", "+.25e1",
    "abc", "1,5", "  -2.5e+1z", "-0", "1.5e+", "00.30", "7E-1",
]
# Rare extremes: infinite prices and sums, numbers too large for a double.
HUGE_MONEY_TEXTS = ["1e308", "-1e308", "1e400", "1.7976931348623159e308", "4e-320"]

FROM_ITEMS = ["%02d:%02d" % divmod(i * 15, 60) for i in range(96)]
TO_ITEMS = ["%02d:%02d" % divmod(i * 15 + 14, 60) for i in range(96)]

ODD_CLOCK_TEXTS = ["1:30", "5", "23:00", "", "0", "x", "-1:00", "24:00", "12:5", "99:99",
                   "ab:cd", "00:00", "0:00", "+1:+5", " 1", "1 :3 ", "10", "7:"]

MIN_TEXTS = ["00:00", "00:00", "00:01", "00:05", "00:02", "0:30", "5", "", "0", "00:10",
             "1:3", "-0:05", "-9:00"]
BLOCK_TEXTS = ["00:00", "00:00", "00:01", "00:05", "0", "", "0:30", "01:00", "-0:05",
               "00:10", "1", "00:03", "0:01", "00:0x", "00:07"]
FREE_TEXTS = ["00:00", "00:00", "01:00", "02:00", "10:30", "", "0", "0:00", "00:0x",
              "00:30", "-1:00", "5"]
FLAG_TEXTS = ["0", "1", "1", "0", "2", "1x", " 1", "01", "", "-1"]
WHEN_TEXTS = ["0", "1", "2", "1", "2", "3", "-1", "1x", "", " 2"]


def maybe(rng, p):
    return rng.random() < p


def random_case_name(rng, name):
    if maybe(rng, 0.2):
        return "".join(c.upper() if rng.random() < 0.5 else c.lower() for c in name)
    return name


def random_tariff(rng):
    """A dict section -> list of (key, value); a value of None leaves the key out."""
    price = []
    settings = []

    def put(lst, key, value):
        if value is not None:
            lst.append((key, value))

    for key in ("PricePerDial", "CostPerMinute", "CheapCostPerMinute"):
        texts = HUGE_MONEY_TEXTS if maybe(rng, 0.02) else MONEY_TEXTS
        put(price, key, None if maybe(rng, 0.08) else rng.choice(texts))
    kind = rng.random()
    if kind < 0.45:  # the page's own lists, mostly windows across midnight
        start = rng.choice(FROM_ITEMS[60:])
        end = rng.choice(TO_ITEMS[:40])
    elif kind < 0.7:  # daytime window
        i = rng.randrange(95)
        start = FROM_ITEMS[i]
        end = TO_ITEMS[rng.randrange(i, 96)]
    elif kind < 0.8:  # equal bounds
        start = end = rng.choice(FROM_ITEMS + ["05:59", "23:00"])
    else:
        start = rng.choice(ODD_CLOCK_TEXTS + FROM_ITEMS)
        end = rng.choice(ODD_CLOCK_TEXTS + TO_ITEMS)
    put(price, "CheapTimeStart", None if maybe(rng, 0.05) else start)
    put(price, "CheapTimeEnd", None if maybe(rng, 0.05) else end)
    put(price, "CheapTimeFromComboState", str(rng.randrange(96)))
    put(price, "CheapTimeToComboState", str(rng.randrange(96)))
    put(price, "MinConTime", None if maybe(rng, 0.1) else rng.choice(MIN_TEXTS))
    put(price, "ConnectionBlock", None if maybe(rng, 0.1) else rng.choice(BLOCK_TEXTS))
    put(price, "FreeMonthTime", None if maybe(rng, 0.1) else rng.choice(FREE_TEXTS))
    put(settings, "CheapInSat", None if maybe(rng, 0.1) else rng.choice(FLAG_TEXTS))
    put(settings, "CheapInSun", None if maybe(rng, 0.1) else rng.choice(FLAG_TEXTS))
    put(settings, "SummaryWhen", None if maybe(rng, 0.1) else rng.choice(WHEN_TEXTS))
    rng.shuffle(price)
    rng.shuffle(settings)
    return {"Settings": settings, "Price": price}


def ini_text(rng, tariff, log_dir):
    sections = [("Settings", [("IniPath", log_dir)] + tariff["Settings"]),
                ("Price", tariff["Price"])]
    rng.shuffle(sections)
    out = []
    for name, keys in sections:
        out.append("[%s]" % random_case_name(rng, name))
        for key, value in keys:
            out.append("%s=%s" % (random_case_name(rng, key), value))
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------
# Random logs

NAMES = [b"anna", b"root", b"Standard Modem", b"Office dial-up", b"ISDN 1", b"x", b"bob smith",
         b"a,b", b'say "hi"', b"ppp0", b"Net \xc3\xa9t\xc3\xa9", b"\xe2\x82\xac uro",
         b"cr\rhere", b"tab\there", b"nul\x00byte", b"hi\x80\xbfbytes", b"\xff\xfe", b"ctl\x01\x1f",
         b" lead", b"trail ", b"12:00:00", b"07-07-2007"]


def random_name(rng):
    if maybe(rng, 0.08):
        return b""  # two separators in a row: later fields move up
    return rng.choice(NAMES)


def random_bytes_count(rng):
    r = rng.random()
    if r < 0.7:
        return str(rng.choice([0, rng.randrange(0, 1 << 20), rng.randrange(0, 1 << 31),
                               rng.randrange(1 << 32, 1 << 40),
                               -rng.randrange(1, 1 << 31)])).encode()
    return rng.choice([b"12abc", b"1e3", b" 7", b"-5", b"+8", b"0x10", b"inf", b"nan",
                       b"2147483647", b"-2147483648", b"3.75", b".5", b"abc", b"1E+2x",
                       b"1e400", b"1e308", b"-1e308", b"9007199254740993", b"\t4", b"\x0b5",
                       b"\x0c6", b"\r7", b"\xa08", b"2.5", b"-2.5", b"5400000000",
                       b"-2147483649", b"9223372036854775807", b"9223372036854775808",
                       b"99999999999999999999999"])


def date_text(d):
    return d.strftime("%d-%m-%Y").encode()


def random_date(rng, today):
    r = rng.random()
    if r < 0.35:
        return date_text(today - datetime.timedelta(days=rng.randrange(-3, 90)))
    if r < 0.5:  # same day and month in another year
        for _ in range(10):
            try:
                return date_text(today.replace(year=today.year - rng.randrange(1, 30)))
            except ValueError:
                continue
    if r < 0.65:  # same month, another day or year
        day = rng.randrange(1, 29)
        return b"%02d-%02d-%04d" % (day, today.month, today.year - rng.randrange(0, 5))
    if r < 0.9:
        return date_text(today - datetime.timedelta(days=rng.randrange(0, 3000)))
    return rng.choice([b"31-02-2021", b"00-00-0000", b"29-02-2001", b"29-02-2000",
                       b"5-3-2020", b"12-0", b"xx-yy-zzzz", b"32-13-1999", b"01-01-0001",
                       b" 1- 2-2003", b"15-06-99", b"07", b"+3-+4-2004",
                       b"%02d" % today.day, b"%02d-%02d" % (today.day, today.month),
                       b"??-%02d-????" % today.month])


def time_text(sec):
    sec %= 86400
    return b"%02d:%02d:%02d" % (sec // 3600, sec // 60 % 60, sec % 60)


ODD_TIMES = [b"99:99:99", b"-1:-5:-9", b"1:2:3", b"ab:cd:ef", b"12:30", b"7", b"23:59:60",
             b"24:00:00", b"00:00:00", b" 1: 2: 3", b"10:100:10", b"+5:+6:+7", b"\t1:\v2:\f3",
             b"\r1:00:00"]


def random_start(rng, tariff_obj):
    r = rng.random()
    if r < 0.3:  # around the cheap window bounds
        base = rng.choice([tariff_obj.cheap_start, tariff_obj.cheap_end])
        return base + rng.choice([-1, 0, 1, 60, -60])
    if r < 0.4:
        return rng.choice([0, 86399, 82800, 21540, 43200])
    return rng.randrange(86400)


def random_duration(rng, tariff_obj):
    r = rng.random()
    if r < 0.15:
        return 0
    if r < 0.4:  # around minimum and block sizes
        base = rng.choice([tariff_obj.minimum_time, tariff_obj.block, 60, 300,
                           2 * max(tariff_obj.block, 1)])
        return max(0, base + rng.choice([-1, 0, 1]))
    if r < 0.5:
        return rng.choice([86399, 86400, 86401, 90000])
    return rng.randrange(1, 7200)


def random_record_line(rng, today, tariff_obj):
    start = random_start(rng, tariff_obj)
    end = start + random_duration(rng, tariff_obj)
    fields = [random_date(rng, today), time_text(start), date_text(today), time_text(end),
              random_name(rng), random_name(rng), random_name(rng),
              random_bytes_count(rng), random_bytes_count(rng)]
    if maybe(rng, 0.07):
        fields[1] = rng.choice(ODD_TIMES)
    if maybe(rng, 0.07):
        fields[3] = rng.choice(ODD_TIMES)
    if maybe(rng, 0.05):
        fields = fields[:rng.randrange(1, 9)]  # ends early
    line = b"".join(f + b"|" for f in fields)
    r = rng.random()
    if r < 0.03:
        line = b"|" + line  # leading separator
    elif r < 0.06:
        line = line.replace(b"|", b"||", 2)  # doubled separators
    elif r < 0.08:
        line += b"tenth|"
    elif r < 0.10:
        line = line[:-1]  # no trailing separator
    return line


def random_extra_line(rng, today):
    return rng.choice([
        b"", b"|", b"|||", b"||||||||||", b" ", b"\r", b"garbage", b"\t",
        date_text(today) + b"|10:00:00|",
        date_text(today) + b"|23:59:59",
        date_text(today) + b"|12:00:00|" + date_text(today) + b"|12:30:00|" + b"u" * 400
        + b"|dev|isp|1|2|",
        b"\x00\x00\x00",
        bytes(rng.randrange(0x20, 0x7f) for _ in range(rng.randrange(1, 300))),
        date_text(today) + b"|01:00:00|" + date_text(today) + b"|02:00:00|"
        + bytes(rng.choice(b"abc\x80\xff\x00 ,\"") for _ in range(rng.randrange(200, 3000)))
        + b"|d|i|3|4|",
    ])


def random_long_line(rng, today):
    """A line near or past the length at which the reader gives up on it."""
    head = date_text(today) + b"|08:00:00|" + date_text(today) + b"|08:20:00|"
    tail = b"|dev|isp|10|20|"
    size = rng.choice([65535, 65536, 65537, 200000])
    return head + b"u" * (size - len(head) - len(tail)) + tail


def random_log(rng, today, tariff_obj):
    lines = []
    if maybe(rng, 0.03):
        lines.append(random_long_line(rng, today))
    for _ in range(rng.choice([0, 1, 2, 3, 5, 8, 12, 20, 40])):
        if maybe(rng, 0.12):
            lines.append(random_extra_line(rng, today))
        else:
            lines.append(random_record_line(rng, today, tariff_obj))
    mode = rng.random()
    if mode < 0.5:
        ends = [b"\n"] * len(lines)
    elif mode < 0.8:
        ends = [b"\r\n"] * len(lines)
    else:
        ends = [rng.choice([b"\n", b"\r\n"]) for _ in lines]
    data = b"".join(l + e for l, e in zip(lines, ends))
    if lines and maybe(rng, 0.15):
        data = data[:-len(ends[-1])]  # no line break after the last line
    return data


def big_log(rng, today):
    """Some 28 000 calls of almost a day each: sums of time pass 2^31 seconds."""
    lines = []
    for _ in range(40):
        start = rng.randrange(86400)
        end = start - rng.randrange(1, 600)
        lines.append(b"".join(f + b"|" for f in [
            random_date(rng, today), time_text(start), date_text(today), time_text(end),
            b"u", b"d", b"i", random_bytes_count(rng), random_bytes_count(rng)]))
    return b"\n".join(lines * 700) + b"\n"


def random_price_args(rng, today, tariff_obj):
    d = today - datetime.timedelta(days=rng.randrange(-400, 4000))
    start = random_start(rng, tariff_obj) % 86400
    end = (start + random_duration(rng, tariff_obj)) % 86400
    return [d.strftime("%d-%m-%Y"), time_text(start).decode(), time_text(end).decode()]


# ---------------------------------------------------------------------------
# Running and comparing

class Mismatch(Exception):
    pass


def run_cli(cli, args, env):
    proc = subprocess.run([cli] + args, env=env, capture_output=True, timeout=30)
    return proc.returncode, proc.stdout, proc.stderr


def first_difference(expected, actual):
    exp_lines = expected.split(b"\n")
    act_lines = actual.split(b"\n")
    for i in range(max(len(exp_lines), len(act_lines))):
        e = exp_lines[i] if i < len(exp_lines) else None
        a = act_lines[i] if i < len(act_lines) else None
        if e != a:
            return i, e, a
    return None


def describe_case(seed, index, ini, log, cmd, expected, actual, stderr, keep_dir):
    out = ["MISMATCH seed=%d case=%d" % (seed, index),
           "command: orvalis-cli %s" % " ".join(cmd), "--- ov.ini ---", ini.rstrip("\n"),
           "--- logfile.log (%d bytes) ---" % (len(log) if log is not None else -1)]
    if log is None:
        out.append("(no log file)")
    else:
        for n, line in enumerate(log.split(b"\n")):
            shown = repr(line[:200]) + (" ...(%d bytes)" % len(line) if len(line) > 200 else "")
            out.append("%3d %s" % (n + 1, shown))
    diff = first_difference(expected, actual)
    if diff is not None:
        i, e, a = diff
        out.append("first difference at output line %d:" % (i + 1))
        out.append("  expected: %r" % e)
        out.append("  actual:   %r" % a)
    if stderr:
        out.append("stderr: %r" % stderr)
    out.append("files kept in %s" % keep_dir)
    return "\n".join(out)


def check_case(cli, seed, index, work):
    rng = random.Random("%d/%d" % (seed, index))
    today = datetime.date.today()
    tariff_keys = random_tariff(rng)
    cfg_dir = os.path.join(work, "orvalis")
    os.makedirs(cfg_dir, exist_ok=True)
    log_dir = cfg_dir + ("/" if maybe(rng, 0.7) else "")
    ini = ini_text(rng, tariff_keys, log_dir)
    ini_obj = ref.Ini(ini)
    tariff = ref.Tariff(ini_obj)
    if index % 100 == 99:
        log = big_log(rng, today)
    else:
        log = None if maybe(rng, 0.04) else random_log(rng, today, tariff)
    with open(os.path.join(cfg_dir, "ov.ini"), "w", encoding="utf-8") as f:
        f.write(ini)
    log_path = os.path.join(cfg_dir, "logfile.log")
    if os.path.exists(log_path):
        os.remove(log_path)
    log_args = []
    if log is not None:
        if maybe(rng, 0.1):
            log_path = os.path.join(work, "other.log")
            log_args = ["--log", log_path]
        with open(log_path, "wb") as f:
            f.write(log)
    records = ref.read_log(log) if log is not None else []

    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = work
    env["LANG"] = "C.UTF-8"
    env.pop("LC_ALL", None)

    commands = []
    for flag, when in (("all", 0), ("month", 1), ("today", 2)):
        expected = ref.summary_lines(ref.compute_totals(tariff, records, when, today))
        commands.append((["summary", "--filter", flag] + log_args,
                         "".join(l + "\n" for l in expected).encode()))
    stored = ini_obj.read_int("Settings", "SummaryWhen", 0)
    expected = ref.summary_lines(ref.compute_totals(tariff, records, stored, today))
    commands.append((["summary"] + log_args, "".join(l + "\n" for l in expected).encode()))
    commands.append((["report"] + log_args, ref.report_tsv(tariff, records).encode()))
    commands.append((["report", "--csv"] + log_args, ref.report_csv(tariff, records).encode()))
    for _ in range(2):
        args = random_price_args(rng, today, tariff)
        commands.append((["price"] + args, (ref.price_line(tariff, *args) + "\n").encode()))

    failures = []
    for cmd, expected in commands:
        rc, actual, stderr = run_cli(cli, cmd, env)
        if rc != 0 or actual != expected:
            failures.append((cmd, expected, actual, stderr, rc))
    if datetime.date.today() != today:
        return None  # the date changed during the case: run it again
    return failures, ini, log


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--cases", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--case", type=int, help="run only this case of the seed")
    parser.add_argument("--keep-going", action="store_true",
                        help="run every case and list each failing one")
    opts = parser.parse_args()

    self_check()
    began = time.monotonic()
    indexes = [opts.case] if opts.case is not None else range(opts.cases)
    failed_cases = 0
    first_report = None
    for index in indexes:
        work = tempfile.mkdtemp(prefix="orvalis-diff-")
        try:
            for _ in range(3):
                result = check_case(opts.cli, opts.seed, index, work)
                if result is not None:
                    break
            else:
                raise RuntimeError("the date kept changing")
            failures, ini, log = result
            if failures:
                failed_cases += 1
                cmd, expected, actual, stderr, rc = failures[0]
                if first_report is None or opts.keep_going:
                    keep = work
                    text = describe_case(opts.seed, index, ini, log, cmd, expected, actual,
                                         stderr + (b" (exit %d)" % rc if rc else b""), keep)
                    print(text, flush=True)
                    if first_report is None:
                        first_report = text
                    work = None
                else:
                    print("MISMATCH seed=%d case=%d: orvalis-cli %s" %
                          (opts.seed, index, " ".join(cmd)), flush=True)
                if not opts.keep_going:
                    break
        finally:
            if work:
                shutil.rmtree(work, ignore_errors=True)
    elapsed = time.monotonic() - began
    ran = len(indexes) if opts.keep_going or not failed_cases else index + 1
    print("%d case(s) run, %d failed, seed %d, %.1f s" % (ran, failed_cases, opts.seed,
                                                          elapsed))
    return 1 if failed_cases else 0


def self_check():
    """The reference must give the documented worked examples before it judges anything."""
    ini = ref.Ini("[Price]\nPricePerDial=0.10\nCostPerMinute=0.60\nCheapCostPerMinute=0.30\n"
                  "CheapTimeStart=23:00\nCheapTimeEnd=05:59\nMinConTime=00:01\n"
                  "ConnectionBlock=00:01\nFreeMonthTime=02:00\n"
                  "[Settings]\nCheapInSat=1\nCheapInSun=1\n")
    t = ref.Tariff(ini)
    checks = [
        (ref.price_line(t, "01-03-2000", "14:20:00", "14:27:30"), "480 normal 4.90"),
        (ref.price_line(t, "03-03-2000", "23:50:00", "00:10:00"), "1200 cheap 6.10"),
        (ref.price_line(t, "03-03-2000", "23:00:00", "23:00:20"), "60 normal 0.70"),
        (ref.price_line(t, "04-03-2000", "12:00:00", "12:02:00"), "120 cheap 0.70"),
        ("%.2f" % t.free_allowance_value(), "72.10"),
        (ref.parse_clock_text("1:30"), 5400), (ref.parse_clock_text("5"), 18300),
        (ref.parse_clock_text("00:05"), 300),
        (ref.Tariff.raw_duration(100, 99), 86399),
    ]
    t2 = ref.Tariff(ref.Ini("[Price]\nFreeMonthTime=01:00\nCostPerMinute=0.50\n"
                            "PricePerDial=0.10\n"))
    today = datetime.date(2000, 3, 15)
    recs = ref.read_log(b"15-03-2000|10:00:00|15-03-2000|10:03:48|a|b|c|1|2|\n")
    checks.append((ref.summary_lines(ref.compute_totals(t2, recs, 1, today))[2],
                   "Total cost: -28.10"))
    checks.append((ref.summary_lines(ref.compute_totals(t2, recs, 0, today))[2],
                   "Total cost: 2.00"))
    recs = ref.read_log(b"02-03-1999|1\n28-02-2000|1\n01-03-2000|1\n15-03-1998|1\n")
    checks.append((ref.compute_totals(t2, recs, 1, today)["count"], 3))
    checks.append((ref.compute_totals(t2, recs, 2, today)["count"], 1))
    checks.append((ref.format_span(30 * 3600), "06:00:00"))
    for got, want in checks:
        if got != want:
            raise SystemExit("reference self-check failed: %r != %r" % (got, want))


if __name__ == "__main__":
    sys.exit(main())
