// Loads the WebAssembly engine under node (tests and measurements): the module's loader with the
// .wasm passed in (the loader would fetch it by path otherwise) and fflate's inflater for
// places.bin. Returns the calls the page makes.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { resolve } from 'node:path';
import { unzlibSync } from 'fflate';

export async function loadEngine(engineFolder, placesFile) {
  const createVantoraEngine = createRequire(import.meta.url)(resolve(engineFolder, 'vantora-engine.js'));
  const engine = await createVantoraEngine({
    wasmBinary: readFileSync(`${engineFolder}/vantora-engine.wasm`),
    inflateZlib: unzlibSync,
  });
  if (placesFile) engine.FS.writeFile('/places.bin', readFileSync(placesFile));
  return {
    chart: engine.cwrap('vantora_chart', 'string', ['string']),
    places: engine.cwrap('vantora_places', 'string', ['string', 'number']),
    mapPoint: engine.cwrap('vantora_map_point', 'string', ['number', 'number']),
  };
}
