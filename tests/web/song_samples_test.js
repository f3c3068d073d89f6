// The page's song against the desktop's: for each seed, the samples the web
// player synthesises (vortel.js, its exported vortel_render_song) against
// `vortel SEED --stems` and `--wav`, sample for sample.
//
//   node --no-experimental-fetch song_samples_test.js BUILD_WEB NATIVE_VORTEL [SEED...]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const [buildWeb, nativeVortel, ...seedArgs] = process.argv.slice(2);
if (!buildWeb || !nativeVortel) throw new Error('usage: song_samples_test.js BUILD_WEB NATIVE_VORTEL [SEED...]');
const seeds = seedArgs.length ? seedArgs.map(Number) : [7, -123456];

// The samples of a WAV file as vortel writes them: 16-bit mono after a
// 44-byte header.
function wavSamples(file) {
  const b = fs.readFileSync(file);
  if (b.toString('ascii', 0, 4) !== 'RIFF' || b.toString('ascii', 36, 40) !== 'data') throw new Error(file + ': not vortel\'s WAV');
  return new Int16Array(b.buffer.slice(b.byteOffset + 44, b.byteOffset + b.length));
}

function firstDifference(a, b) {
  const n = Math.min(a.length, b.length);
  for (let i = 0; i < n; ++i) if (a[i] !== b[i]) return i;
  return a.length === b.length ? -1 : n;
}

async function main() {
  const createVortel = require(path.resolve(buildWeb, 'vortel.js'));
  const m = await createVortel({ noInitialRun: true, print: () => {}, printErr: (t) => console.error(t) });
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'vortel-web-song-'));
  let failed = 0;
  try {
    for (const seed of seeds) {
      const dir = path.join(scratch, 'stems' + seed);
      execFileSync(nativeVortel, [String(seed), '--stems', dir]);
      execFileSync(nativeVortel, [String(seed), '--wav', path.join(scratch, 'mix' + seed + '.wav')]);
      for (const part of ['bass', 'pad', 'drums', 'hihat', '']) {
        const file = part ? path.join(dir, part + '.wav') : path.join(scratch, 'mix' + seed + '.wav');
        const desktop = wavSamples(file);
        const name = m._malloc(16);
        m.stringToUTF8(part, name, 16);
        const count = m._vortel_render_song(seed, name);
        m._free(name);
        const at = m._vortel_song_samples() >> 1;
        const page = m.HEAP16.slice(at, at + count);
        const d = firstDifference(page, desktop);
        const label = `seed ${seed} ${part || 'mix'}: ${count} samples`;
        if (d < 0 && desktop.some((v) => v !== 0)) {
          console.log(`${label}, identical`);
        } else {
          ++failed;
          if (d < 0) console.log(`${label}: FAILED, silent`);
          else console.log(`${label} against ${desktop.length}: FAILED, first difference at sample ${d} (page ${page[d]}, desktop ${desktop[d]})`);
        }
      }
    }
  } finally {
    fs.rmSync(scratch, { recursive: true, force: true });
  }
  process.exit(failed ? 1 : 0);
}

main().catch((e) => { console.error(e); process.exit(1); });
