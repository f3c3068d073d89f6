// The web player in headless Chromium (SwiftShader's WebGL 2), driven over
// the DevTools protocol: the page from file://, its first frame, the seed in
// the title and the address, the information panel, N to the next seed, S's
// download, a quiet console, a seed from the clock for a missing or
// malformed one, and the one-line message of a browser without WebGL 2.
//
//   NODE_PATH=/usr/share/nodejs node page_test.js BUILD_WEB [CHROMIUM [VORTEL]]
//
// With the desktop program VORTEL, the page's stills are also compared with
// the desktop's.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawn, execFileSync } = require('child_process');
const WebSocket = require('ws');

const buildWeb = path.resolve(process.argv[2] || 'build-web');
const chromium = process.argv[3] || 'chromium';
// The desktop program, for the stills the page's pictures are compared with.
const vortelBinary = process.argv[4];
const page = 'file://' + path.join(buildWeb, 'index.html');
// Stills of seeds and times compared with the desktop's (scenes, passes and
// a glow among them), and the least PSNR each must reach.
const kStills = [[42, 12.5], [7, 30.2], [2026, 44], [31337, 21.7]];
const kStillPsnr = 40;  // reached here: 46.5 to 52.2 dB
const kWait = 60000;  // the longest any step may take on a loaded machine
const pause = (ms) => new Promise((r) => setTimeout(r, ms));

async function launch(extra) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vortel-chromium-'));
  const proc = spawn(chromium, ['--headless', '--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader',
    '--enable-unsafe-swiftshader', '--mute-audio', '--no-first-run', '--window-size=800,600',
    '--remote-debugging-port=0', '--user-data-dir=' + profile, ...extra, 'about:blank'],
  { stdio: ['ignore', 'ignore', 'pipe'] });
  const url = await new Promise((resolve, reject) => {
    let err = '';
    proc.stderr.on('data', (d) => {
      const m = /DevTools listening on (ws:\/\/\S+)/.exec(err += d);
      if (m) resolve(m[1]);
    });
    proc.on('exit', (code) => reject(new Error('Chromium exited (' + code + '):\n' + err)));
  });
  const ws = new WebSocket(url, { perMessageDeflate: false });
  await new Promise((resolve, reject) => { ws.once('open', resolve); ws.once('error', reject); });
  let next = 0;
  const pending = new Map(), events = [];
  ws.on('message', (data) => {
    const msg = JSON.parse(data);
    if (msg.method) events.push(msg);
    const p = pending.get(msg.id);
    if (p) msg.error ? p.reject(new Error(JSON.stringify(msg.error))) : p.resolve(msg.result);
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    pending.set(++next, { resolve, reject });
    ws.send(JSON.stringify({ id: next, method, params, sessionId }));
  });
  const close = async () => {
    // Asked to quit, the browser takes its helper processes with it.
    const gone = new Promise((resolve) => proc.once('exit', resolve));
    send('Browser.close').catch(() => {});
    if (!await Promise.race([gone.then(() => true), pause(10000)])) proc.kill('SIGKILL');
    await gone;
    ws.close();
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
  };
  return { send, close, events };
}

async function open(browser, url) {
  const { targetId } = await browser.send('Target.createTarget', { url });
  const { sessionId } = await browser.send('Target.attachToTarget', { targetId, flatten: true });
  const send = (method, params) => browser.send(method, params, sessionId);
  await send('Runtime.enable');
  await send('Log.enable');
  const evaluate = async (expression) => {
    const r = await send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
    if (r.exceptionDetails) throw new Error(expression + ': ' + JSON.stringify(r.exceptionDetails));
    return r.result.value;
  };
  return {
    send,
    evaluate,
    // What the page said on its console, and the browser's WebGL warnings.
    messages: () => browser.events.filter((e) => e.sessionId === sessionId).map((e) =>
      e.method === 'Runtime.consoleAPICalled' ? e.params.type + ': ' + e.params.args.map((a) => a.value).join(' ')
        : e.method === 'Log.entryAdded' ? e.params.entry.level + ': ' + e.params.entry.text : '').filter((s) => s),
    waitFor: async (expression, what) => {
      for (const until = Date.now() + kWait; ; await pause(50)) {
        const v = await evaluate(expression).catch(() => undefined);
        if (v) return v;
        if (Date.now() > until) throw new Error('timed out waiting for ' + what);
      }
    },
    frames: (n) => evaluate(`new Promise((done) => { let k = 0;
        const f = () => (++k >= ${n} ? done(true) : requestAnimationFrame(f)); requestAnimationFrame(f); })`),
    key: async (code, key, keyCode) => {
      const base = { code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
      await send('Input.dispatchKeyEvent', { type: 'keyDown', text: key, ...base });
      await send('Input.dispatchKeyEvent', { type: 'keyUp', ...base });
    },
    // How much of a PNG is not black, and how many colours it has (measured
    // by the page's 2-D canvas).
    figures: (png) => evaluate(`new Promise((done) => { const im = new Image(); im.onload = () => {
        const c = document.createElement('canvas'); c.width = im.width; c.height = im.height;
        const g = c.getContext('2d'); g.drawImage(im, 0, 0); const d = g.getImageData(0, 0, c.width, c.height).data;
        let lit = 0; const colours = new Set();
        for (let i = 0; i < d.length; i += 4) { if (d[i] + d[i + 1] + d[i + 2] > 24) ++lit; colours.add((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]); }
        done({ lit: lit / (d.length / 4), colours: colours.size }); };
      im.src = 'data:image/png;base64,${png.toString('base64')}'; })`),
    screenshot: async () => Buffer.from((await send('Page.captureScreenshot', { format: 'png' })).data, 'base64'),
  };
}

const failures = [];
function check(ok, what) {
  console.log((ok ? 'ok     ' : 'FAILED ') + what);
  if (!ok) failures.push(what);
}
const isPicture = (f) => f && f.lit > 0.05 && f.colours > 64;
const firstFrame = async (p, when) => console.log(`first frame ${Number(await p.waitFor(
  'document.documentElement.dataset.firstFrameMs', 'the first frame')).toFixed(0)} ms after the page began to load (${when})`);

// The desktop still of a seed at a time, as RGB rows top first (through
// ffmpeg, which decodes the PNG).
function desktopStill(seed, time) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'vortel-still-'));
  try {
    const png = path.join(dir, 'still.png');
    execFileSync(vortelBinary, [String(seed), '--still', String(time), png],
                 { env: { ...process.env, SDL_VIDEODRIVER: 'offscreen' }, stdio: 'ignore' });
    return execFileSync('ffmpeg', ['-v', 'error', '-i', png, '-f', 'rawvideo', '-pix_fmt', 'rgb24', '-'],
                        { maxBuffer: 1 << 24 });
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// The same still drawn by the page (bottom row first, RGBA) against the
// desktop's, as PSNR over the colour channels.
function stillPsnr(page, desktop, width, height) {
  let sum = 0;
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x)
      for (let c = 0; c < 3; ++c) {
        const d = page[((height - 1 - y) * width + x) * 4 + c] - desktop[(y * width + x) * 3 + c];
        sum += d * d;
      }
  const mse = sum / (width * height * 3);
  return mse === 0 ? 99 : 10 * Math.log10(255 * 255 / mse);
}

async function main() {
  const browser = await launch([]);
  try {
    // A seed and a time from the address.
    const p = await open(browser, page + '#seed=42&t=6');
    await firstFrame(p, 'the browser just started');
    check(await p.evaluate(`document.title === 'KELMA: VORTEL 42' && location.hash === '#seed=42'`),
          'the title and the address carry the seed (42)');
    await p.frames(30);
    const shot = await p.figures(await p.screenshot());
    check(isPicture(shot), `the frame is a picture, not blank (${(100 * shot.lit).toFixed(1)} % lit, ${shot.colours} colours)`);

    // I: the information, at the time the address asked for.
    await p.key('KeyI', 'i', 73);
    const info = await p.waitFor(`(() => { const e = document.getElementById('panel');
        return e && !e.hidden && e.textContent; })()`, 'the information panel');
    const time = Number((/time\s+([0-9.]+)/.exec(info) || [])[1]);
    check(info.includes('KELMA: VORTEL 42') && time >= 6, `I shows the seed and a song time from 6 s on (${time})`);

    // N: the next seed, in the title and the address.
    await p.key('KeyN', 'n', 78);
    check(await p.waitFor(`document.title === 'KELMA: VORTEL 43' && location.hash === '#seed=43'`, 'seed 43'),
          'N: title and address carry 43');
    console.log('sound after the first key: ' + await p.evaluate(`(() => { const a = window.vortel.vortelAudio;
        const m = document.getElementById('message');
        return (a ? 'Web Audio ' + a.ctx.state + ' at ' + a.ctx.sampleRate + ' Hz' : 'none') +
               (m.hidden ? '' : '; the page says: ' + m.textContent); })()`));

    // S: the picture as a PNG download, named as the desktop names it.
    const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'vortel-downloads-'));
    try {
      await browser.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
      await p.key('KeyS', 's', 83);
      let saved;
      for (const until = Date.now() + kWait; !saved && Date.now() < until; await pause(100))
        saved = fs.readdirSync(downloads).find((f) => /^vortel-43-[0-9]+\.[0-9]{3}\.png$/.test(f));
      const pic = saved && await p.figures(fs.readFileSync(path.join(downloads, saved)));
      check(isPicture(pic), 'S downloads the picture: ' + (saved || 'nothing'));
    } finally {
      fs.rmSync(downloads, { recursive: true, force: true });
    }

    const said = p.messages();
    if (said.length) console.log('the page\'s console:\n  ' + said.join('\n  '));
    // The driver's performance notes (a read-back stalls the GPU) are advice,
    // not faults.
    const complaints = said.filter((s) => !/GL Driver Message \(OpenGL, Performance/.test(s));
    check(!complaints.some((s) => /WebGL|GL_INVALID|GL ERROR|vortel:/i.test(s)), 'no GL error and no complaint on the console');

    // The page's pictures are the desktop's: the still of a time, drawn by
    // the page with the desktop's run-up and read back in the same task.
    // Both draw the same plans with programs of the same arithmetic; what
    // is left is rounding (SwiftShader against llvmpipe, the GL ES programs
    // against ARB assembly) carried from frame to frame by the picture each
    // frame keeps of the last.
    if (vortelBinary) {
      for (const [seed, time] of kStills) {
        const pixels = await p.evaluate(`(() => {
            if (!window.vortel._vortel_web_still(${seed}, ${time})) return null;
            const gl = document.getElementById('canvas').getContext('webgl2');
            const px = new Uint8Array(800 * 600 * 4);
            gl.readPixels(0, 0, 800, 600, gl.RGBA, gl.UNSIGNED_BYTE, px);
            let s = ''; for (let i = 0; i < px.length; i += 0x8000) s += String.fromCharCode.apply(null, px.subarray(i, i + 0x8000));
            return btoa(s); })()`);
        const db = pixels ? stillPsnr(Buffer.from(pixels, 'base64'), desktopStill(seed, time), 800, 600) : 0;
        check(db >= kStillPsnr, `seed ${seed} at ${time} s in the page against the desktop still: ${db.toFixed(1)} dB`);
      }
    }

    // A sound the browser refuses: said on the page, and the show goes on.
    const r = await open(browser, 'about:blank');
    await r.send('Page.enable');
    await r.send('Page.addScriptToEvaluateOnNewDocument', { source: 'AudioContext = function () { throw new Error("refused"); };' });
    await r.send('Page.navigate', { url: page + '#seed=9' });
    await firstFrame(r, 'the browser running');
    await r.key('KeyN', 'n', 78);
    check(await r.waitFor(`document.title === 'KELMA: VORTEL 10' && document.getElementById('message').textContent`,
                          'seed 10') === 'No sound: refused. The pictures go on.', 'a refused sound is said once; N still works');

    // No seed, or one that does not read: the clock chooses and the address says which.
    for (const hash of ['', '#seed=4x2', '#seed=99999999999']) {
      const q = await open(browser, page + hash);
      await firstFrame(q, 'the browser running');
      const seed = (await q.evaluate('location.hash')).slice(6);
      check(/^-?[0-9]+$/.test(seed) && seed !== '99999999999' &&
            await q.evaluate('document.title') === 'KELMA: VORTEL ' + seed,
            `'${hash || '(no address)'}': a seed from the clock (${seed}) in the title and address`);
    }
  } finally {
    await browser.close();
  }

  // Without WebGL 2: one line saying so, no empty canvas.
  const plain = await launch(['--disable-webgl2']);
  try {
    const q = await open(plain, page + '#seed=5');
    const msg = await q.waitFor(`(() => { const m = document.getElementById('message');
        return !m.hidden && m.textContent; })()`, 'the message of a browser without WebGL 2');
    check(/WebGL 2/.test(msg) && await q.evaluate(`document.getElementById('canvas').hidden`),
          'without WebGL 2 the page says so instead of showing an empty canvas: ' + msg);
  } finally {
    await plain.close();
  }
  if (failures.length) {
    console.log(failures.length + ' check(s) failed');
    process.exit(1);
  }
}

main().catch((e) => { console.error(e); process.exit(1); });
