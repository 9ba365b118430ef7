// Vantora's page: the form, the chart the WebAssembly engine computes for it, the address that
// keeps the birth (#y=1975&m=3&d=8&h=14&mi=5&sex=m&om=-12&os=30, or place=… instead of om/os),
// the export text's copy, the place search and the map of Japan. Every shown text is the engine's
// (the chart command's JSON), put into the element whose data-control names it.
import createVantoraEngine from 'vantora-engine';
import { unzlibSync } from 'fflate';
import { controlText } from './chart_text.mjs';
import { deletePerson, exportLine, listPeople, readLines, savePeople } from './book.mjs';

const $ = (id) => document.getElementById(id);
const form = { year: $('year'), month: $('month'), day: $('day'), hour: $('hour'), minute: $('minute'), om: $('om'), os: $('os'), place: $('place') };
const fieldOfKey = { year: 'year', month: 'month', day: 'day', hour: 'hour', minute: 'minute', offset_minutes: 'om', offset_seconds: 'os', place: 'place' };
let engine;
let chart = null;
let reversed = false;
let chosenPlace = ''; // the place whose offsets the time difference holds, kept in the address

function fillSelect(select, values, unknown) {
  select.replaceChildren(...(unknown ? [new Option('不明', '?')] : []), ...values.map((v) => new Option(String(v), String(v))));
}
const range = (from, to) => Array.from({ length: to - from + 1 }, (_, k) => from + k);
fillSelect(form.month, range(1, 12));
fillSelect(form.hour, range(0, 23), true);
fillSelect(form.minute, range(0, 59), true);

/// Days of the month in the Gregorian calendar the chart uses throughout.
function daysIn(year, month) {
  const leap = year % 4 === 0 && (year % 100 !== 0 || year % 400 === 0);
  return [31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][month - 1];
}
/// The day list holds the month's days; a day past its end becomes the last (as the desktop lists do).
function clampDays() {
  const year = Number(form.year.value);
  const days = daysIn(Number.isInteger(year) ? year : 2000, Number(form.month.value) || 1);
  const day = Math.min(Number(form.day.value) || 1, days);
  if (form.day.options.length !== days) fillSelect(form.day, range(1, days));
  form.day.value = String(day);
}

const pad = (n) => String(n).padStart(2, '0');
function localNow() {
  const t = new Date();
  return `${t.getFullYear()}-${pad(t.getMonth() + 1)}-${pad(t.getDate())}T${pad(t.getHours())}:${pad(t.getMinutes())}:${pad(t.getSeconds())}`;
}

function batchLine() {
  const birth = {
    year: form.year.value.trim(), month: form.month.value, day: form.day.value, hour: form.hour.value,
    minute: form.hour.value === '?' ? '?' : form.minute.value,
    sex: document.querySelector('input[name=sex]:checked').value, now: localNow(),
  };
  if (chosenPlace) birth.place = chosenPlace;
  else Object.assign(birth, { offset_minutes: form.om.value.trim(), offset_seconds: form.os.value.trim() });
  return JSON.stringify(birth);
}

function showError(message) {
  for (const p of document.querySelectorAll('.error')) p.textContent = '';
  for (const input of Object.values(form)) input.removeAttribute('aria-invalid');
  if (!message) return;
  const field = fieldOfKey[message.split(':')[0]] || 'year';
  $(`${field}-error`).textContent = message;
  form[field].setAttribute('aria-invalid', 'true');
}

function luckRows() {
  const cells = (rowId, name, count) => {
    const row = $(rowId);
    while (row.cells.length > 1) row.deleteCell(1);
    for (let k = count - 1; k >= 0; --k) {
      const cell = row.insertCell();
      cell.dataset.control = `${name}_${k}`;
      cell.dataset.index = k;
    }
  };
  // sai1 has one age fewer: its first column (the pillar before the first change) stays empty.
  cells('luck-sai2', 'sai2', 11);
  cells('luck-kan', 'dun_kan', 11);
  cells('luck-shi', 'dun_shi', 11);
  cells('luck-sai1', 'sai1', 10);
  $('luck-sai1').insertCell();
}

function detailRows() {
  const pillars = ['hour', 'day', 'month', 'year'];
  const rows = [['通変星', 'stem_god'], ['蔵干通変星', 'hidden_god'], ['十二運', 'stage'], ['空亡', 'void']];
  $('details-pillars').replaceChildren(...rows.map(([caption, key]) => {
    const tr = document.createElement('tr');
    tr.innerHTML = `<th scope="row">${caption}</th>` + pillars.map((p) => `<td data-control="details.pillars.${p}.${key}"></td>`).join('');
    return tr;
  }));
  const table = (id, rowsOf, count, path) => {
    $(id).tBodies[0].replaceChildren(...rowsOf.map(([caption, key]) => {
      const tr = document.createElement('tr');
      tr.innerHTML = `<th scope="row">${caption}</th>` + range(0, count - 1).reverse().map((k) => `<td data-control="${path}.${k}.${key}"></td>`).join('');
      return tr;
    }));
  };
  table('details-luck', [['通変星', 'stem_god'], ['十二運', 'stage']], 11, 'details.luck');
  table('details-years', [['年', 'year'], ['干支', 'pillar'], ['通変星', 'stem_god'], ['十二運', 'stage'], ['空亡', 'void']], 10, 'details.years');
}

const pillarChars = { year: '年', month: '月', day: '日', hour: '時' };
/// One item for each relation among the natal pillars, written as the details window writes it:
/// "年支・日支　子午　冲" (干 for a stem combination, 支 for the others).
function relationItems() {
  const relations = chart?.details?.relations ?? [];
  $('details-relations').replaceChildren(...relations.map((relation, k) => {
    const li = document.createElement('li');
    const part = relation.kind === '干合' ? '干' : '支';
    li.append(relation.pillars.map((p) => pillarChars[p] + part).join('・') + '　');
    li.insertAdjacentHTML('beforeend', `<span data-control="details.relations.${k}.chars"></span>　<span data-control="details.relations.${k}.kind"></span>`);
    return li;
  }));
}

/// The printed page's line under the birth, as the desktop print writes it: the place and its
/// time difference, "京都府綾部市本町一丁目（時差 1分2秒）", or the time difference alone.
function birthPlaceLine() {
  const offset = `時差 ${form.om.value}分${form.os.value}秒`;
  $('birth-place').textContent = chosenPlace ? `${chosenPlace}（${offset}）` : offset;
}

function render() {
  relationItems();
  birthPlaceLine();
  document.body.classList.toggle('reversed', reversed);
  $('btn_000').setAttribute('aria-pressed', String(reversed));
  $('btn_000').textContent = reversed ? '暦に戻す' : '旺の逆転';
  for (const element of document.querySelectorAll('#chart [data-control], #details [data-control]')) {
    // Only the texts that change are replaced: the others keep their layout.
    const text = chart ? controlText(chart, element.dataset.control, reversed) : '';
    if (element.textContent !== text) element.textContent = text;
  }
  for (const cell of document.querySelectorAll('#luck [data-index]')) {
    const current = chart && chart.bold === Number(cell.dataset.index);
    cell.classList.toggle('current', current);
    if (current) cell.setAttribute('aria-current', 'true'); else cell.removeAttribute('aria-current');
  }
}

function writeAddress() {
  const p = new URLSearchParams();
  p.set('y', form.year.value.trim()); p.set('m', form.month.value); p.set('d', form.day.value);
  p.set('h', form.hour.value); p.set('mi', form.hour.value === '?' ? '?' : form.minute.value);
  p.set('sex', document.querySelector('input[name=sex]:checked').value === 'male' ? 'm' : 'f');
  if (chosenPlace) p.set('place', chosenPlace);
  else { p.set('om', form.om.value.trim()); p.set('os', form.os.value.trim()); }
  history.replaceState(null, '', '#' + p.toString().replaceAll('%3F', '?'));
}

function readAddress() {
  const p = new URLSearchParams(location.hash.slice(1));
  if (!p.has('y')) return false;
  form.year.value = p.get('y');
  form.month.value = p.get('m') || '1';
  form.day.value = p.get('d') || '1';
  clampDays();
  form.day.value = p.get('d') || '1';
  form.hour.value = p.get('h') ?? '?';
  form.minute.value = p.get('mi') ?? '?';
  $(p.get('sex') === 'f' ? 'optW' : 'optM').checked = true;
  chosenPlace = p.get('place') || '';
  form.place.value = chosenPlace;
  form.om.value = p.get('om') ?? '0';
  form.os.value = p.get('os') ?? '0';
  return true;
}

/// Computes the chart of the form as it stands, shows it and keeps it in the address.
async function recompute() {
  clampDays();
  form.minute.disabled = form.hour.value === '?';
  if (chosenPlace) await loadPlaces();
  const answer = JSON.parse(engine.chart(batchLine()));
  showError(answer.error);
  chart = answer.error ? null : answer;
  if (chart?.place) {
    // A place named in the address shows the time difference it stands for.
    const found = JSON.parse(engine.places(chart.place.name, 1))[0];
    if (found) [form.om.value, form.os.value] = [found.minutes, found.seconds];
  }
  render();
  writeAddress();
}

// Places: places.bin is fetched on the first search, with its progress shown.
let placesLoaded = null;
function loadPlaces() {
  placesLoaded ??= (async () => {
    const started = performance.now();
    const progress = $('place-progress');
    progress.hidden = false;
    $('place-status').textContent = '地名データを読み込んでいます…';
    const response = await fetch(window.vantoraPlacesUrl || 'places.bin');
    const total = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    const parts = [];
    let received = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      parts.push(value);
      received += value.length;
      if (total) progress.value = received / total;
    }
    const bytes = new Uint8Array(received);
    let at = 0;
    for (const part of parts) { bytes.set(part, at); at += part.length; }
    engine.FS.writeFile('/places.bin', bytes);
    engine.places('', 0); // reads the file now, so that the load is measured as a whole
    performance.measure('vantora-places-load', { start: started });
    progress.hidden = true;
    $('place-status').textContent = '';
  })();
  return placesLoaded;
}

let activeOption = -1;
async function searchPlaces() {
  const typed = form.place.value.trim();
  const list = $('place-list');
  if (!typed) { list.hidden = true; form.place.setAttribute('aria-expanded', 'false'); return; }
  await loadPlaces();
  const found = JSON.parse(engine.places(typed, 20));
  if (found.error) { $('place-error').textContent = found.error; return; }
  activeOption = -1;
  list.replaceChildren(...found.map((place, k) => {
    const li = document.createElement('li');
    li.id = `place-option-${k}`;
    li.setAttribute('role', 'option');
    li.textContent = place.name;
    li.addEventListener('mousedown', (event) => { event.preventDefault(); choosePlace(place.name); });
    return li;
  }));
  list.hidden = found.length === 0;
  form.place.setAttribute('aria-expanded', String(found.length > 0));
  $('place-status').textContent = found.length ? `${found.length}件の候補` : '見つかりません';
}
function choosePlace(name) {
  chosenPlace = name;
  form.place.value = name;
  $('place-list').hidden = true;
  form.place.setAttribute('aria-expanded', 'false');
  recompute();
}
form.place.addEventListener('input', () => { chosenPlace = ''; searchPlaces(); });
form.place.addEventListener('keydown', (event) => {
  const options = [...$('place-list').children];
  if (!options.length || $('place-list').hidden) return;
  if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
    event.preventDefault();
    activeOption = (activeOption + (event.key === 'ArrowDown' ? 1 : options.length - 1)) % options.length;
    options.forEach((o, k) => o.setAttribute('aria-selected', String(k === activeOption)));
    form.place.setAttribute('aria-activedescendant', options[activeOption].id);
  } else if (event.key === 'Enter') {
    event.preventDefault();
    choosePlace(options[Math.max(activeOption, 0)].textContent);
  } else if (event.key === 'Escape') {
    $('place-list').hidden = true;
  }
});

// The map: a click (or Enter at the keyboard's cross) at a picture pixel gives the time
// difference the desktop map window's "決定" gives there.
let mapCross = { x: 250, y: 250 };
function showCross() {
  const cross = $('map-cross');
  cross.hidden = false;
  cross.style.left = `${mapCross.x / 5}%`;
  cross.style.top = `${mapCross.y / 5}%`;
}
function pickOnMap(x, y) {
  showCross();
  const point = JSON.parse(engine.mapPoint(x, y));
  chosenPlace = '';
  form.place.value = '';
  form.om.value = point.minutes;
  form.os.value = point.seconds;
  $('map-point').textContent = `東経${point.lon[0]}度${point.lon[1]}分${point.lon[2]}秒 北緯${point.lat[0]}度${point.lat[1]}分${point.lat[2]}秒：時差${point.minutes}分${point.seconds}秒`;
  recompute();
}
$('btnmap').addEventListener('click', () => {
  if (!$('map').src) $('map').src = window.vantoraMapUrl || 'japan_map.bmp';
  $('map-dialog').showModal();
});
$('map-close').addEventListener('click', () => $('map-dialog').close());
$('map').addEventListener('click', (event) => {
  const box = event.currentTarget.getBoundingClientRect();
  mapCross = { x: (event.clientX - box.left) * 500 / box.width, y: (event.clientY - box.top) * 500 / box.height };
  pickOnMap(mapCross.x, mapCross.y);
});
$('map').addEventListener('keydown', (event) => {
  const step = event.shiftKey ? 10 : 1;
  const moves = { ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step] };
  if (moves[event.key]) {
    event.preventDefault();
    mapCross = { x: Math.min(499, Math.max(0, mapCross.x + moves[event.key][0])), y: Math.min(499, Math.max(0, mapCross.y + moves[event.key][1])) };
    showCross();
    $('map-point').textContent = `位置 ${Math.round(mapCross.x)}, ${Math.round(mapCross.y)}（Enterで決定）`;
  } else if (event.key === 'Enter') {
    event.preventDefault();
    pickOnMap(mapCross.x, mapCross.y);
  }
});

$('btn_000').addEventListener('click', () => { reversed = !reversed; render(); });
$('btnexport').addEventListener('click', async () => {
  if (!chart) return;
  await navigator.clipboard.writeText(chart.export);
  $('copy-status').textContent = 'コピーしました';
});
$('btnprint').addEventListener('click', () => window.print());
for (const input of [form.year, form.month, form.day, form.hour, form.minute, ...document.querySelectorAll('input[name=sex]')]) {
  input.addEventListener('input', recompute);
}
for (const input of [form.om, form.os]) input.addEventListener('input', () => { chosenPlace = ''; form.place.value = ''; recompute(); });
window.addEventListener('hashchange', () => { if (readAddress()) recompute(); });

// The book: the form's birth saved under a name, found as you type, opened, deleted, and moved
// to and from the desktop program's book as its export lines.
const utcNow = () => new Date().toISOString().slice(0, 19) + 'Z';
function formPerson() {
  return {
    name: $('book-name').value.trim(), kana: $('book-kana').value, memo: $('book-memo').value,
    year: form.year.value.trim(), month: form.month.value, day: form.day.value, hour: form.hour.value,
    minute: form.hour.value === '?' ? '?' : form.minute.value,
    sex: document.querySelector('input[name=sex]:checked').value,
    offset_minutes: form.om.value.trim(), offset_seconds: form.os.value.trim(),
    ...(chosenPlace ? { place_name: chosenPlace } : {}), changed: utcNow(),
  };
}
async function showBook() {
  const typed = $('book-search').value.trim();
  const people = (await listPeople()).filter((p) => !typed || [p.name, p.kana, p.memo].some((t) => t?.includes(typed)));
  $('book-list').replaceChildren(...people.map((person) => {
    const li = document.createElement('li');
    const open = document.createElement('button');
    open.type = 'button';
    open.textContent = `${person.name}（${person.year}年${person.month}月${person.day}日）`;
    open.addEventListener('click', () => openPerson(person));
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.textContent = '削除';
    remove.setAttribute('aria-label', `${person.name}を削除`);
    remove.addEventListener('click', async () => {
      if (!confirm(`${person.name}を名簿から削除しますか？`)) return;
      await deletePerson(person.name);
      showBook();
    });
    li.append(open, ' ', remove);
    return li;
  }));
}
function openPerson(person) {
  $('book-name').value = person.name; $('book-kana').value = person.kana ?? ''; $('book-memo').value = person.memo ?? '';
  form.year.value = person.year; form.month.value = person.month; clampDays(); form.day.value = person.day;
  form.hour.value = person.hour; form.minute.value = person.minute;
  $(person.sex === 'female' ? 'optW' : 'optM').checked = true;
  chosenPlace = person.place_name ?? '';
  form.place.value = chosenPlace;
  form.om.value = person.offset_minutes; form.os.value = person.offset_seconds;
  recompute();
}
$('book-save').addEventListener('click', async () => {
  const person = formPerson();
  if (!person.name) { $('book-status').textContent = '名前を入れてください'; $('book-name').focus(); return; }
  if (!chart) { $('book-status').textContent = '計算できない生年月日は保存できません'; return; }
  if ((await listPeople()).some((p) => p.name === person.name) && !confirm(`${person.name}を書き換えますか？`)) return;
  await savePeople([person]);
  $('book-status').textContent = `${person.name}を保存しました`;
  showBook();
});
$('book-search').addEventListener('input', showBook);
$('book-export').addEventListener('click', async () => {
  const now = localNow();
  const text = (await listPeople()).map((p) => exportLine(p, now) + '\n').join('');
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type: 'application/json' }));
  link.download = 'vantora-book.jsonl';
  link.click();
  URL.revokeObjectURL(link.href);
});
$('book-import').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  if (!file) return;
  const text = await file.text();
  if (/"place"\s*:/.test(text)) await loadPlaces();
  const { people, problems } = readLines(text, engine.chart, (name) => JSON.parse(engine.places(name, 1))[0]);
  event.target.value = '';
  $('book-problems').textContent = problems.length ? `読めない行があるため、何も読み込んでいません。${problems.join(' ')}` : '';
  if (problems.length) return;
  for (const person of people) person.changed ??= utcNow();
  await savePeople(people);
  $('book-status').textContent = `${people.length}人を読み込みました`;
  showBook();
});

async function start() {
  luckRows();
  detailRows();
  form.month.value = '3';
  clampDays();
  form.day.value = '8';
  form.hour.value = '12';
  form.minute.value = '0';
  const options = { inflateZlib: unzlibSync, locateFile: (file) => file };
  if (window.vantoraWasm) options.wasmBinary = window.vantoraWasm;
  const module = await createVantoraEngine(options);
  engine = {
    FS: module.FS,
    chart: module.cwrap('vantora_chart', 'string', ['string']),
    places: module.cwrap('vantora_places', 'string', ['string', 'number']),
    mapPoint: module.cwrap('vantora_map_point', 'string', ['number', 'number']),
  };
  readAddress();
  await recompute();
  performance.mark('vantora-first-chart');
  await showBook();
  document.body.dataset.ready = 'true';
  if ('serviceWorker' in navigator && location.protocol.startsWith('http')) navigator.serviceWorker.register('sw.js');
}
start();
