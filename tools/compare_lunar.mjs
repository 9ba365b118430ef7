#!/usr/bin/env node
// Compares Vantora's chosen rules with the two "sects" of the open library lunar-javascript, for a
// few hundred births (not part of the test suite):
//   day change: Vantora's day-change=midnight / day-change=23 against sect 2 / sect 1 of the
//     library's eight characters, both given Vantora's true solar time, so that only the rule differs;
//   luck start: Vantora's luck-start=days with term-instant=clock against the library's luck start
//     of sect 2 (counted in minutes) and sect 1 (counted in two-hour periods), the library given
//     the same instant in its own clock (China standard time, one hour behind Japan's).
// Usage: npm install --no-save lunar-javascript (in this folder or above), then
//   node tools/compare_lunar.mjs [path/to/vantora-chart] [births]
import { spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const { Solar } = require('lunar-javascript');
const chartCommand = process.argv[2] ?? 'build/bin/vantora-chart';
const count = Number(process.argv[3] ?? 400);

// The births: a fixed pseudo-random sequence, half of them within an hour of midnight (where the
// day-change rules differ), at 135° E and at two time differences either side.
let seed = 20261208;
const random = (n) => ((seed = (seed * 1103515245 + 12345) % 2147483648) % n);
const births = [];
for (let i = 0; i < count; ++i) {
  const year = 1900 + random(150), month = 1 + random(12), day = 1 + random(28);
  const hour = i % 2 ? [23, 0][random(2)] : random(24);
  births.push({
    year, month, day, hour, minute: random(60), sex: random(2) ? 'male' : 'female',
    offset_minutes: [0, 0, -20, 18][random(4)], offset_seconds: 0, now: '2026-12-08T10:00:00',
  });
}

function charts(rules) {
  const input = births.map((b) => JSON.stringify({ ...b, rules })).join('\n') + '\n';
  const run = spawnSync(chartCommand, ['--batch'], { input, maxBuffer: 1 << 28 });
  if (run.status !== 0) throw new Error(`${chartCommand}: ${run.stderr}`);
  return run.stdout.toString().trim().split('\n').map((line) => JSON.parse(line));
}

const percent = (n) => `${n}/${births.length} (${((100 * n) / births.length).toFixed(1)} %)`;

// Day change.
for (const [rule, sect] of [['midnight', 2], ['23', 1]]) {
  let same = 0;
  const differing = [];
  charts({ "day-change": rule }).forEach((c) => {
    const v = c.values;
    const minute = Math.floor(v.true_minute), second = Math.floor((v.true_minute - minute) * 60);
    const eight = Solar.fromYmdHms(v.true_year, v.true_month, v.true_day, v.true_hour, minute, second)
      .getLunar().getEightChar();
    eight.setSect(sect);
    const ours = c.dKan + c.dShi + c.hKan + c.hShi, theirs = eight.getDay() + eight.getTime();
    if (ours === theirs) ++same;
    else if (differing.length < 5) differing.push(`${c.txtShin}: ${ours} / ${theirs}`);
  });
  console.log(`day-change=${rule} against sect ${sect}: day and hour pillars agree in ${percent(same)}`);
  differing.forEach((d) => console.log(`  ${d}`));
}

// Luck start: the time from the birth to its term, in minutes (three days a year).
const vantora = charts({ 'term-instant': 'clock', 'luck-start': 'days' });
for (const sect of [2, 1]) {
  let sameText = 0, within10 = 0, worst = 0;
  vantora.forEach((c, i) => {
    const b = births[i];
    // The same instant on China standard time.
    const civil = Solar.fromYmdHms(b.year, b.month, b.day, b.hour, b.minute, 0).nextHour(-1);
    const yun = civil.getLunar().getEightChar().getYun(b.sex === 'male' ? 1 : 0, sect);
    const theirs = [yun.getStartYear(), yun.getStartMonth(), yun.getStartDay()];
    const ours = c.txtKoutai.match(/約(\d+)歳(\d+)カ月(\d+)日/).slice(1).map(Number);
    const days = (t) => t[0] * 360 + t[1] * 30 + t[2];
    const difference = Math.abs(days(ours) - days(theirs));
    if (ours.join() === theirs.join()) ++sameText;
    if (difference <= 10) ++within10;
    worst = Math.max(worst, difference);
  });
  console.log(`luck-start=days against sect ${sect}: the same years, months and days in ${percent(sameText)},` +
              ` within 10 days of age in ${percent(within10)}, largest difference ${worst} days of age`);
}
