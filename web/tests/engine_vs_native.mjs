// The WebAssembly engine under node against the native command on the same batch lines: every
// shown text must be equal; the raw numbers under "values" may differ in their last digits only
// (the sines of the module's C library round otherwise for a few per cent of arguments): the
// longitude within 1e-9 degree, the others within a relative 1e-12.
//   node engine_vs_native.mjs VANTORA_CHART ENGINE_FOLDER SOURCE_FOLDER [COUNT]
import { execFileSync, spawnSync } from 'node:child_process';
import { loadEngine } from '../engine/load_engine.mjs';

const [nativeCommand, engineFolder, sourceFolder, countText = '3000'] = process.argv.slice(2);
const births = execFileSync('python3', [`${sourceFolder}/bench/make_births.py`, countText, '22'], { encoding: 'utf8' })
  .split('\n').filter(Boolean);
// Places by name, and lines the request refuses, go through the same comparison.
births.push(
  '{"year":"1975","month":"3","day":"8","hour":"?","minute":"?","sex":"female","place":"京都府綾部市本町一丁目","now":"2026-12-08T10:00"}',
  '{"year":2000,"month":2,"day":29,"hour":23,"minute":"","sex":"male","place":"札幌市中央区","now":"2026-12-08T10:00"}',
  '{"year":"1900","month":"2","day":"29","hour":"0","minute":"0","sex":"male","offset_minutes":"0","offset_seconds":"0"}',
  '{"year":"1975","month":"3","day":"8","hour":"14","minute":"5","sex":"male","place":"本町"}');

const engine = await loadEngine(engineFolder, `${sourceFolder}/data/places.bin`);
const started = performance.now();
const fromEngine = births.map((line) => JSON.parse(engine.chart(line)));
const engineSeconds = (performance.now() - started) / 1000;
// The command exits 4 after lines it refused; their answers are compared all the same.
const fromNative = spawnSync(nativeCommand, ['--batch'], { input: births.join('\n') + '\n', encoding: 'utf8', maxBuffer: 1 << 30 })
  .stdout.split('\n').filter(Boolean).map((line) => JSON.parse(line));

const tolerance = (name) => (name === 'birth_nl' ? (a, b) => Math.abs(a - b) <= 1e-9
  : (a, b) => Math.abs(a - b) <= 1e-12 * Math.max(Math.abs(a), Math.abs(b)));
let failed = 0;
births.forEach((line, k) => {
  // An error names its line: the engine answers each line as the first.
  const { values: engineValues = {}, line: _engineLine, ...engineTexts } = fromEngine[k];
  const { values: nativeValues = {}, line: _nativeLine, ...nativeTexts } = fromNative[k];
  const problems = [];
  if (JSON.stringify(engineTexts) !== JSON.stringify(nativeTexts)) problems.push('shown texts differ');
  for (const [name, value] of Object.entries(nativeValues)) {
    const same = typeof value === 'number' ? tolerance(name)(value, engineValues[name]) : value === engineValues[name];
    if (!same) problems.push(`${name}: ${engineValues[name]} ≠ ${value}`);
  }
  if (problems.length && ++failed <= 5) console.log(`line ${k + 1}: ${line}\n  ${problems.join('\n  ')}`);
});
console.log(`${births.length} births, engine ${Math.round(births.length / engineSeconds)} charts/s`);
console.log(`${births.length - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
