'use strict';
// Checks the native lunar conversion against two independent references, day by day over
// 1901-02-19 .. 2048-12-31.  Run through verify.sh, which builds the native dump first.
//
//   node verify.cjs <dump.txt>            compare; exit 1 on any mismatch
//   node verify.cjs <dump.txt> --update   also rewrite the digest used by the native tests
//   node verify.cjs --table               print the packed C++ year table from the reference
//
// <dump.txt> has one line a day: "YYYY-MM-DD <lunar year> <month> <day> <leap 0|1>".
//
// Primary reference: lunar-javascript (ephemeris-based, corrected to the calendars actually
// published before 1960).  Our table must match it on every day.
// Second reference: date-chinese (VSOP87 + ELP ephemerides, purely computed).  It disagrees
// with the primary in exactly the episodes listed in KNOWN_SECOND_SOURCE_ERRORS; any other
// disagreement fails the run, because one of the two sources would then be wrong somewhere
// nobody has looked at yet.
const fs = require('fs');
const path = require('path');

const FIRST = Date.UTC(1901, 1, 19);
const LAST = Date.UTC(2048, 11, 31);
const DIGEST = path.join(__dirname, '..', '..', 'tests', 'clock', 'lunar_new_years.txt');

// Inclusive Gregorian day ranges where the second reference is known to be wrong.
const KNOWN_SECOND_SOURCE_ERRORS = [
    // Conjunction 1906-04-23 16:06 UT: 23:52 Beijing local mean time but 00:06 at 120°E.
    // The published almanac of that year (and the widely used 1901-2100 tables) start the
    // 4th month on 04-24; a pure computation at the Beijing meridian gives 04-23.
    ['1906-04-23', '1906-05-22', 'month 4 of 1906 starts 04-24 in the published almanac'],
    // The second source switches from Beijing time to 120°E at 1929-01-01 mid-month and so
    // repeats day 20 of month 11 (a 31-day month), which no calendar has.
    ['1929-01-01', '1929-01-10', 'meridian switch in the middle of month 11 of 1928'],
    // Between the solstices of 2033 and 2034 there are 13 months; the first one without a
    // principal term after the one holding the 2033 solstice (12-21) is the month from
    // 12-22, hence leap month 11.  The second source applies the first-month-without-term
    // rule from the 2032 solstice and ends up with leap 7 and then no ordinary month 11.
    ['2033-08-25', '2033-12-21', 'leap month of 2033 is 11, not 7'],
];

const pad = (n) => String(n).padStart(2, '0');
const iso = (t) => {
    const d = new Date(t);
    return `${d.getUTCFullYear()}-${pad(d.getUTCMonth() + 1)}-${pad(d.getUTCDate())}`;
};

function* days() {
    for (let t = FIRST; t <= LAST; t += 86400000) {
        const d = new Date(t);
        yield [iso(t), d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate()];
    }
}

function primary() {
    const {Solar} = require('lunar-javascript');
    return (y, m, d) => {
        const l = Solar.fromYmd(y, m, d).getLunar();
        const month = l.getMonth();  // negative inside a leap month
        return `${l.getYear()} ${Math.abs(month)} ${l.getDay()} ${month < 0 ? 1 : 0}`;
    };
}

function second() {
    const {CalendarChinese} = require('date-chinese');
    const cal = new CalendarChinese();
    return (y, m, d) => {
        cal.fromGregorian(y, m, d);
        // 60-year cycles counted from 2637 BC.
        const year = (cal.cycle - 1) * 60 + cal.year - 2637;
        return `${year} ${cal.month} ${cal.day} ${cal.leap ? 1 : 0}`;
    };
}

// Per lunar year: first day, leap month, lengths of its months.  The last year (2048) runs
// past the checked range, so its tail comes from the primary reference directly.
function yearDigest() {
    const {LunarYear} = require('lunar-javascript');
    const lines = [];
    for (let y = 1901; y <= 2048; y++) {
        const months = LunarYear.fromYear(y).getMonths().filter((m) => m.getYear() === y);
        const first = months[0].getFirstJulianDay();
        const start = Date.UTC(2000, 0, 1) + (Math.floor(first + 0.5) - 2451545) * 86400000;
        const leap = months.find((m) => m.isLeap());
        lines.push([y, iso(start), leap ? -leap.getMonth() : 0,
                    ...months.map((m) => m.getDayCount())].join(' '));
    }
    return lines;
}

// Same layout as clock/lunar.cpp: bits 0-12 month lengths (bit i set: the i-th month of
// the year, leap month counted in place, has 30 days), bits 13-16 leap month, bits 17-22
// the new-year day as days after 1 January.
function packedTable(digest) {
    return digest.map((line) => {
        const [y, start, leap, ...lens] = line.split(' ');
        const [, m, d] = start.split('-').map(Number);
        let w = ((m === 1 ? d - 1 : 30 + d) << 17) | (Number(leap) << 13);
        lens.forEach((len, i) => { if (len === '30') w |= 1 << i; });
        return {year: Number(y), word: '0x' + (w >>> 0).toString(16).padStart(6, '0')};
    });
}

function readDigestFile() {
    return fs.readFileSync(DIGEST, 'utf8').split('\n').filter((l) => l && !l.startsWith('#'));
}

function main() {
    const args = process.argv.slice(2);
    if (args[0] === '--table') {
        const rows = packedTable(yearDigest());
        for (let i = 0; i < rows.length; i += 8) {
            const chunk = rows.slice(i, i + 8);
            console.log(`    ${chunk.map((r) => r.word + ',').join(' ')}  // ${chunk[0].year}`);
        }
        return 0;
    }
    if (!args[0]) {
        console.error('usage: node verify.cjs <dump.txt> [--update] | --table');
        return 2;
    }
    const ours = fs.readFileSync(args[0], 'utf8').split('\n').filter(Boolean);
    const ref = primary();
    const alt = second();
    let checked = 0, mismatches = 0, unexplained = 0;
    const known = new Map(KNOWN_SECOND_SOURCE_ERRORS.map((k) => [k[2], 0]));
    const shown = [];
    for (const [date, y, m, d] of days()) {
        const mine = ours[checked] || '(missing)';
        const want = `${date} ${ref(y, m, d)}`;
        checked++;
        if (mine !== want) {
            if (++mismatches <= 10) shown.push(`  ours ${mine}  reference ${want}`);
        }
        const other = `${date} ${alt(y, m, d)}`;
        if (other !== want) {
            const k = KNOWN_SECOND_SOURCE_ERRORS.find(([a, b]) => date >= a && date <= b);
            if (k) {
                known.set(k[2], known.get(k[2]) + 1);
            } else if (++unexplained <= 10) {
                shown.push(`  references disagree: ${want} vs ${other}`);
            }
        }
    }
    if (ours.length !== checked) {
        shown.push(`  dump has ${ours.length} lines, expected ${checked}`);
        mismatches++;
    }

    const digest = yearDigest();
    const header = [
        '# Lunar years 1901..2048, written by tools/lunar/verify.sh --update from the reference.',
        '# <lunar year> <Gregorian date of month 1 day 1> <leap month, 0 = none> <month lengths>',
    ];
    let digestOk = true;
    if (args.includes('--update')) {
        fs.writeFileSync(DIGEST, header.concat(digest).join('\n') + '\n');
        console.log(`wrote ${path.relative(path.join(__dirname, '..', '..'), DIGEST)}`);
    } else if (!fs.existsSync(DIGEST) || readDigestFile().join('\n') !== digest.join('\n')) {
        digestOk = false;
        shown.push(`  ${path.relative(path.join(__dirname, '..', '..'), DIGEST)} is out of date (run verify.sh --update)`);
    }

    console.log(`${checked} days checked, ${mismatches} mismatches`);
    for (const [why, n] of known) console.log(`  second reference differs on ${n} days: ${why}`);
    console.log(`  unexplained disagreements between the references: ${unexplained}`);
    shown.forEach((l) => console.log(l));
    return mismatches === 0 && unexplained === 0 && digestOk ? 0 : 1;
}

process.exitCode = main();
