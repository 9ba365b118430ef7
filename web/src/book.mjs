// The chart book kept in the browser (IndexedDB, on this device only): people saved by name,
// listed in the order they were first saved, and moved to and from the desktop program as the
// lines of `vantora-chart --book PATH --export/--import`: the batch keys (year, month and day as
// numbers, hour and minute as numbers or "?"), now, name, kana, memo, then no_minute and
// place_name when they apply, created and changed (UTC).

const STORE = 'people';
function open() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('vantora-book', 1);
    request.onupgradeneeded = () => request.result.createObjectStore(STORE, { keyPath: 'name' });
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}
async function run(mode, work) {
  const db = await open();
  return new Promise((resolve, reject) => {
    const transaction = db.transaction(STORE, mode);
    const result = work(transaction.objectStore(STORE));
    transaction.oncomplete = () => resolve(result.result ?? result);
    transaction.onerror = () => reject(transaction.error);
  });
}

/// Every person, in the order first saved.
export async function listPeople() {
  const people = await run('readonly', (store) => store.getAll());
  return people.sort((a, b) => a.order - b.order);
}
/// Saves a person under their name, replacing one of the same name (whose place in the order
/// and creation time stay).
export async function savePeople(people) {
  const existing = new Map((await listPeople()).map((p) => [p.name, p]));
  let next = Math.max(0, ...[...existing.values()].map((p) => p.order)) + 1;
  await run('readwrite', (store) => {
    for (const person of people) {
      const old = existing.get(person.name);
      store.put({ ...person, order: old ? old.order : next++, created: person.created ?? old?.created ?? person.changed });
    }
    return {};
  });
}
export const deletePerson = (name) => run('readwrite', (store) => store.delete(name));

const number = (text) => (text === '?' ? '?' : Number(text));
/// One export line of a person.
export function exportLine(person, now) {
  const line = {
    year: Number(person.year), month: Number(person.month), day: Number(person.day), hour: number(person.hour),
    minute: person.no_minute ? '?' : number(person.minute), sex: person.sex,
    offset_minutes: person.offset_minutes, offset_seconds: person.offset_seconds, now,
    name: person.name, kana: person.kana ?? '', memo: person.memo ?? '',
  };
  if (person.no_minute) line.no_minute = true;
  if (person.place_name) line.place_name = person.place_name;
  line.created = person.created;
  line.changed = person.changed;
  return JSON.stringify(line);
}

/// Reads export lines into people, or the problems ("3行目: month: 1〜12の範囲外です（13）").
/// checkBirth(line) answers a batch line with the chart's JSON or {"error": …} and, for a line
/// naming a place, place(name) gives the place's offsets.
export function readLines(text, checkBirth, place) {
  const people = [], problems = [], firstLine = new Map();
  text.split('\n').forEach((raw, k) => {
    if (!raw.trim()) return;
    const problem = (message) => problems.push(`${k + 1}行目: ${message}`);
    let line;
    try { line = JSON.parse(raw); } catch { return problem('JSON として読めません'); }
    if (typeof line !== 'object' || line === null || Array.isArray(line)) return problem('JSON のオブジェクトではありません');
    if (typeof line.name !== 'string' || !line.name.trim()) return problem('name: ありません');
    const checked = JSON.parse(checkBirth(raw));
    if (checked.error) return problem(checked.error);
    if (firstLine.has(line.name)) return problem(`name: ${firstLine.get(line.name)}行目と同じ名前です（${line.name}）`);
    firstLine.set(line.name, k + 1);
    const named = line.place !== undefined ? place(checked.place.name) : null;
    people.push({
      name: line.name, kana: line.kana ?? '', memo: line.memo ?? '', year: String(line.year), month: String(line.month),
      day: String(line.day), hour: String(line.hour), minute: String(line.minute), sex: line.sex,
      offset_minutes: named ? named.minutes : String(line.offset_minutes), offset_seconds: named ? named.seconds : String(line.offset_seconds),
      ...(line.no_minute === true ? { no_minute: true } : {}),
      ...(named || line.place_name ? { place_name: named ? checked.place.name : line.place_name } : {}),
      created: line.created, changed: line.changed ?? line.created,
    });
  });
  return { people, problems };
}
