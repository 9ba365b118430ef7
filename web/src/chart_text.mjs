// Where each shown text of a chart comes from in the chart's JSON (the chart command's), by the
// name in the element's data-control: the desktop control's name (hKan, txtShin, dun_kan_3 for
// the fourth luck pillar), or a dotted path into "details". Shared by the page and its tests.

/// The text for a data-control name: a member of the reversed view while it is shown, an element
/// of a luck row, a top-level text, or a dotted path (a void mark true is "○", as the desktop
/// details window writes it).
export function controlText(json, name, asReversed) {
  if (asReversed && json.reversed && name in json.reversed) return String(json.reversed[name]);
  const row = /^(dun_kan|dun_shi|sai1|sai2)_(\d+)$/.exec(name);
  if (row) return json[row[1]][Number(row[2])] ?? '';
  const value = name.split('.').reduce((node, key) => (node == null ? node : node[key]), json);
  return value === true ? '○' : value === false ? '' : String(value ?? '');
}
