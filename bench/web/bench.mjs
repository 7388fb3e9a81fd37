#!/usr/bin/env node
// Times the web page against a bare page of the window's shape (bench/web/bare/: the same controls
// at the same places in the same fonts, one box echoed into the six places a calculation rewrites,
// no WebAssembly), in Debian's Chromium, headless:
//   - start-up: navigation to the first paint and the first contentful paint (the page's 'paint'
//     entries), and to the window ready (#frmStart no longer inert; a key typed into a box then has
//     its effect, or the run fails), each on a new browser context, a first visit, served as the
//     site server serves it (the page's clock then reads to 0.1 ms, its paint times coarser);
//   - a keystroke, on one more visit per round, served cross-origin isolated for a finer clock: a
//     batch of input events into the last box of a filled window, alternating "120" and "12" as
//     typing and deleting the last digit deliver them, each followed by a forced layout (after two
//     batches not counted, while the engine compiles the hot code again), per change, in wall time
//     and, from a trace of the same batch, in the renderer thread's own
//     CPU time, which the machine's other load disturbs far less; and real keys through the
//     browser's input (Backspace, "0", ...), each from its keydown to the layout after the input
//     event's handlers;
//   - what a first visit transfers, counted at the server: every response's bytes (the service
//     worker's cache fill included), and the sum of gzip -9 of each file sent.
// The pages take turns within each round, which one goes first rotating, so that changes in the
// machine's load hit them alike; a ratio between two runs is only as good as their loads are alike,
// so a change is best timed with --against, in the same rounds. Figures are medians; nothing is compared against a goal.
//
//   node bench/web/bench.mjs [--site DIR] [--against DIR] [--rounds N] [--starts N] [--batches N]
//                            [--changes N] [--keys N] [--self] [--trace DIR] [--json FILE]
//   --site    the built site (default build/web/site); this program builds nothing
//   --against another build of the site (say, before a change), timed in the same rounds
//   --rounds  rounds (default 7)
//   --starts  start-ups of each page per round (default 5)
//   --batches keystroke batches per page per round (default 5), of --changes changes (default 200)
//   --keys    real keys per page per round (default 100)
//   --self    the bare page against itself, served twice: how far apart two equal pages come out
//   --trace   writes Chrome's performance traces of one more start-up and one batch of each page
//   --json    writes every sample as JSON besides printing the figures

import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';

import { createSiteServer } from '../../tools/serve_web.mjs';
import { chromiumPath, launchChromium } from '../../tests/web/harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');

export const defaults = { rounds: 7, starts: 5, batches: 5, changes: 200, keys: 100 };

export function parseArguments(args) {
  const options = { ...defaults, site: path.join(root, 'build/web/site'), against: null, self: false, trace: null, json: null };
  const counts = ['rounds', 'starts', 'batches', 'changes', 'keys'];
  for (let i = 0; i < args.length; ++i) {
    const flag = args[i];
    const name = flag.replace(/^--/, '');
    if (flag === '--self') {
      options.self = true;
    } else if (counts.includes(name) && flag.startsWith('--')) {
      const value = Number(args[++i]);
      if (!Number.isInteger(value) || value < 1) throw new Error(`${flag} takes a whole number above 0`);
      options[name] = value;
    } else if (['--site', '--against', '--trace', '--json'].includes(flag) && i + 1 < args.length) {
      options[name] = path.resolve(args[++i]);
    } else {
      throw new Error(`unknown argument ${flag}`);
    }
  }
  return options;
}

// --- The pages ---------------------------------------------------------------------------------

// What the bench does with each page: where a key is typed to see that it lands, and how the
// window is filled before its keystrokes are timed.
const quillomatPage = {
  typeInto: '#txtBase1',
  // The first key into a player's box enables that player's clear button.
  landed: () => document.getElementById('cmdClear1').disabled === false,
  fill: { txtBase1: '200', txtResp1: '50', txtBase2: '300', txtResp2: '120' },
  filled: () => document.getElementById('txtSigDiff').value.trim() === 'SIGNIFICANTLY DIFFERENT',
  worker: true,
};
const barePage = {
  typeInto: '#txtResp2',
  landed: () => document.getElementById('lblPer1b').textContent.endsWith('7'),
  fill: { txtResp2: '120' },
  filled: () => document.getElementById('txtSigDiff').value === '120',
  worker: false,
};

// Serves a folder and notes every response: its address, status and body bytes. The keystrokes are
// timed on pages served cross-origin isolated, which leaves a page as it is but for its clock:
// performance.now() then reads to 5 us rather than to 100 us. Start-ups are not: an isolated page
// starts in a process of its own, which would add the same start of a process to both pages.
async function serveCounted(folder, { isolated = false } = {}) {
  const server = createSiteServer(folder);
  const log = [];
  server.on('request', (request, response) => {
    if (isolated) {
      response.setHeader('Cross-Origin-Opener-Policy', 'same-origin');
      response.setHeader('Cross-Origin-Embedder-Policy', 'require-corp');
    }
    let bytes = 0;
    const write = response.write.bind(response);
    const end = response.end.bind(response);
    const count = (chunk, encoding) => {
      if (chunk && typeof chunk !== 'function') bytes += Buffer.byteLength(chunk, typeof encoding === 'string' ? encoding : undefined);
    };
    response.write = (chunk, encoding, callback) => {
      count(chunk, encoding);
      return write(chunk, encoding, callback);
    };
    response.end = (chunk, encoding, callback) => {
      count(chunk, encoding);
      return end(chunk, encoding, callback);
    };
    response.on('finish', () => log.push({ method: request.method, url: request.url, status: response.statusCode, bytes }));
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', resolve);
  });
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    folder: fs.realpathSync(folder),
    log,
    close: () =>
      new Promise((resolve) => {
        server.closeAllConnections();
        server.close(() => resolve());
      }),
  };
}

const gzipSizes = new Map();
function gzipSize(file) {
  if (!gzipSizes.has(file)) gzipSizes.set(file, zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length);
  return gzipSizes.get(file);
}

// The file a logged request was answered with.
function fileOf(server, url) {
  let name = decodeURIComponent(new URL(url, server.url).pathname);
  if (name.endsWith('/')) name += 'index.html';
  return path.join(server.folder, name);
}

// What the log's entries sent: body bytes, gzip -9 of each file sent, the files sent by name, and
// those confirmed current without being sent (304 Not Modified).
export function transfers(server, entries) {
  const result = { requests: 0, bytes: 0, gzip: 0, files: new Map(), confirmed: new Map(), failed: [] };
  for (const entry of entries) {
    ++result.requests;
    result.bytes += entry.bytes;
    if (entry.status === 304 && entry.method === 'GET') {
      const name = path.relative(server.folder, fileOf(server, entry.url));
      result.confirmed.set(name, (result.confirmed.get(name) ?? 0) + 1);
      continue;
    }
    if (entry.status !== 200 || entry.method !== 'GET') {
      result.failed.push(`${entry.method} ${entry.url} ${entry.status}`);
      continue;
    }
    const file = fileOf(server, entry.url);
    result.gzip += gzipSize(file);
    const name = path.relative(server.folder, file);
    result.files.set(name, (result.files.get(name) ?? 0) + 1);
  }
  return result;
}

// --- In the page ---------------------------------------------------------------------------------

// Runs before the page's own scripts: notes when #frmStart stops being inert, and when the page
// first paints. The bench waits on the promise once the page has loaded, rather than polling the
// page at every frame, which would take the page's own time while it starts.
function watchReady() {
  const ready = new Promise((resolve) => {
    new MutationObserver((records, observer) => {
      for (const record of records) {
        if (record.target.id === 'frmStart' && !record.target.hasAttribute('inert')) {
          resolve(performance.now());
          observer.disconnect();
          return;
        }
      }
    }).observe(document, { subtree: true, attributes: true, attributeFilter: ['inert'] });
  });
  const painted = new Promise((resolve) => {
    new PerformanceObserver((entries, observer) => {
      if (entries.getEntriesByName('first-contentful-paint').length === 0) return;
      observer.disconnect();
      resolve();
    }).observe({ type: 'paint', buffered: true });
  });
  self.benchStarted = Promise.all([ready, painted]).then(([readyAt]) => {
    const paint = (name) => performance.getEntriesByName(name)[0]?.startTime ?? NaN;
    return { firstPaint: paint('first-paint'), firstContentfulPaint: paint('first-contentful-paint'), ready: readyAt };
  });
}

// The boxes filled as typing fills them: each box's text, then its input event.
function fillBoxes(texts) {
  for (const [id, text] of Object.entries(texts)) {
    const box = document.getElementById(id);
    box.value = text;
    box.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertText', data: text }));
  }
}

// One batch: `count` changes of the box, "12" and "120" in turn as deleting and typing the last
// digit give them, each followed by a forced layout. Microseconds per change.
function keystrokeBatch(id, count) {
  const box = document.getElementById(id);
  const window = document.getElementById('frmStart');
  const start = performance.now();
  for (let i = 0; i < count; ++i) {
    const typed = i % 2 === 1;
    box.value = typed ? '120' : '12';
    box.dispatchEvent(
      new InputEvent('input', {
        bubbles: true,
        inputType: typed ? 'insertText' : 'deleteContentBackward',
        data: typed ? '0' : null,
      }),
    );
    void window.offsetHeight;
  }
  return ((performance.now() - start) * 1000) / count;
}

// Notes, for each real key, the times to the layout after its input event's handlers (this
// listener, on the document, runs after the box's own): from the page's first sight of its keydown,
// and from the keydown's time stamp, which adds the browser's routing of the key to the page.
function timeKeys(id) {
  const box = document.getElementById(id);
  const window = document.getElementById('frmStart');
  self.benchKeys = [];
  let down = null;
  addEventListener('keydown', (event) => (down = { seen: performance.now(), stamp: event.timeStamp }), true);
  document.addEventListener('input', (event) => {
    if (!event.isTrusted || down === null) return;
    void window.offsetHeight;
    const now = performance.now();
    self.benchKeys.push({ page: (now - down.seen) * 1000, routed: (now - down.stamp) * 1000 });
    down = null;
  });
  box.focus();
  box.setSelectionRange(box.value.length, box.value.length);
}

// Each control's box in the window, by the control's name: the element that holds its place.
function controlBoxes() {
  const window = document.getElementById('frmStart').getBoundingClientRect();
  const boxes = {};
  for (const element of document.querySelectorAll('#frmStart [id]')) {
    const place = element.closest('[data-control]') ?? element;
    const r = place.getBoundingClientRect();
    boxes[element.id] = [r.left - window.left, r.top - window.top, r.width, r.height].map((v) => Math.round(v * 10) / 10);
  }
  return boxes;
}

// Where the bare page's controls are not where the window's are, or what either lacks.
export function geometryDifferences(window, bare) {
  const differences = [];
  for (const [name, box] of Object.entries(window)) {
    if (!(name in bare)) differences.push(`${name}: not in the bare page`);
    else if (box.some((v, i) => Math.abs(v - bare[name][i]) > 1)) differences.push(`${name}: [${box}] in the window, [${bare[name]}] bare`);
  }
  for (const name of Object.keys(bare)) if (!(name in window)) differences.push(`${name}: not in the window`);
  return differences;
}

// --- Runs ----------------------------------------------------------------------------------------

async function newPage(browser) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(`uncaught: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()}`);
  });
  return { context, page, problems };
}

// One first visit: the start-up's times, and what it transferred once the service worker (if the
// page has one) is active and the page's network is idle.
async function startOnce(browser, server, kind, { keep = false, trace = null, isolated = false } = {}) {
  const { context, page, problems } = await newPage(browser);
  try {
    await page.evaluateOnNewDocument(watchReady);
    const from = server.log.length;
    if (trace) await page.tracing.start({ path: trace, screenshots: false });
    await page.goto(server.url, { waitUntil: 'load' });
    const times = await page.evaluate(() =>
      Promise.race([
        self.benchStarted,
        new Promise((resolve, reject) => setTimeout(() => reject(new Error('the window was not ready in 30 s')), 30000)),
      ]),
    );
    if (trace) await page.tracing.stop();
    if ((await page.evaluate(() => self.crossOriginIsolated)) !== isolated) {
      throw new Error(`the page is ${isolated ? 'not ' : ''}cross-origin isolated`);
    }
    await page.focus(kind.typeInto);
    await page.keyboard.type('7');
    if (!(await page.evaluate(kind.landed))) throw new Error(`a key typed into ${kind.typeInto} had no effect`);
    if (kind.worker) {
      await page.evaluate(
        () =>
          Promise.race([
            navigator.serviceWorker.ready,
            new Promise((resolve, reject) => setTimeout(() => reject(new Error('no service worker became active')), 30000)),
          ]).then(() => undefined),
      );
    }
    await page.waitForNetworkIdle({ idleTime: 250, timeout: 30000 });
    if (problems.length > 0) throw new Error(`the page reported problems:\n${problems.join('\n')}`);
    const sent = transfers(server, server.log.slice(from));
    if (sent.failed.length > 0) throw new Error(`requests not answered with a file: ${sent.failed.join(', ')}`);
    if (keep) return { times, sent, context, page };
    return { times, sent };
  } finally {
    if (!keep) await context.close();
  }
}

// The renderer's thread time for a batch, per change: the task that ran it, from a trace of the
// main thread's events (with their thread durations). Machine load stretches wall times; a thread's
// own CPU time much less.
export function batchThreadTime(events, changes) {
  const dispatches = events.filter((e) => e.name === 'EventDispatch' && e.ph === 'X' && e.args?.data?.type === 'input');
  if (dispatches.length < changes) throw new Error(`the trace holds ${dispatches.length} input events of ${changes}`);
  const middle = dispatches[Math.floor(dispatches.length / 2)];
  const task = events
    .filter(
      (e) =>
        e.pid === middle.pid &&
        e.tid === middle.tid &&
        e.ph === 'X' &&
        e.tdur !== undefined &&
        e.name !== 'EventDispatch' &&
        e.ts <= middle.ts &&
        e.ts + e.dur >= middle.ts + middle.dur,
    )
    .sort((a, b) => a.dur - b.dur)[0];
  if (task === undefined) throw new Error("the trace holds no task with a thread time around the batch");
  const inside = dispatches.filter((e) => e.ts >= task.ts && e.ts + e.dur <= task.ts + task.dur).length;
  if (inside !== changes) throw new Error(`the batch's task holds ${inside} input events of ${changes}`);
  return { thread: task.tdur / changes, wall: task.dur / changes };
}

// A trace now and then comes back without the batch's task (its events dropped); it is taken again.
async function tracedBatch(page, changes) {
  for (let attempt = 1; ; ++attempt) {
    await page.tracing.start({ categories: ['devtools.timeline', 'toplevel'] });
    await page.evaluate(keystrokeBatch, 'txtResp2', changes);
    const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString('utf8'));
    try {
      return batchThreadTime(trace.traceEvents, changes);
    } catch (error) {
      if (attempt === 3) throw error;
    }
  }
}

async function keystrokes(page, kind, options, trace = null) {
  await page.evaluate(fillBoxes, kind.fill);
  if (!(await page.evaluate(kind.filled))) throw new Error('the filled window shows the wrong verdict');
  // Two batches first, not counted: the engine compiles the hot code again while they run.
  for (let i = 0; i < 2; ++i) await page.evaluate(keystrokeBatch, 'txtResp2', options.changes);
  const batches = [];
  for (let i = 0; i < options.batches; ++i) batches.push(await page.evaluate(keystrokeBatch, 'txtResp2', options.changes));
  const threads = [];
  for (let i = 0; i < options.batches; ++i) threads.push((await tracedBatch(page, options.changes)).thread);
  if (trace) {
    await page.tracing.start({ path: trace, screenshots: false });
    await page.evaluate(keystrokeBatch, 'txtResp2', options.changes);
    await page.tracing.stop();
  }
  await page.evaluate(timeKeys, 'txtResp2');
  for (let i = 0; i < options.keys; ++i) await page.keyboard.press(i % 2 === 0 ? 'Backspace' : '0');
  const keys = await page.evaluate(() => self.benchKeys);
  if (keys.length !== options.keys) throw new Error(`${options.keys} keys gave ${keys.length} input events`);
  const expected = options.keys % 2 === 0 ? '120' : '12';
  if ((await page.evaluate(() => document.getElementById('txtResp2').value)) !== expected) {
    throw new Error(`the keys left the box without "${expected}"`);
  }
  return { batches, threads, keys };
}

export function median(values) {
  const sorted = values.filter((v) => Number.isFinite(v)).sort((a, b) => a - b);
  if (sorted.length === 0) return NaN;
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// Runs every round and returns each page's samples.
export async function run(options, log = console.log) {
  const bareFolder = options.bare ?? path.join(here, 'bare');
  const pages = options.self
    ? [
        { name: 'bare', folder: bareFolder, kind: barePage },
        { name: 'bare_again', folder: bareFolder, kind: barePage },
      ]
    : [
        { name: 'quillomat', folder: options.site, kind: quillomatPage },
        ...(options.against ? [{ name: 'against', folder: options.against, kind: quillomatPage }] : []),
        { name: 'bare', folder: bareFolder, kind: barePage },
      ];
  for (const p of pages) {
    if (!fs.existsSync(path.join(p.folder, 'index.html'))) throw new Error(`no ${p.folder}/index.html: build the web preset first`);
    p.server = await serveCounted(p.folder);
    p.isolated = await serveCounted(p.folder, { isolated: true });
    p.samples = { firstPaint: [], firstContentfulPaint: [], ready: [], batch: [], thread: [], key: [], routed: [], sent: [] };
  }
  const browser = await launchChromium({ width: 800, height: 600 });
  try {
    // Warms the browser and the file cache, and compares the pages' shapes.
    const shapes = [];
    for (const p of pages) {
      const started = await startOnce(browser, p.server, p.kind, { keep: true });
      shapes.push(await started.page.evaluate(controlBoxes));
      await started.context.close();
    }
    pages.geometry = geometryDifferences(shapes[0], shapes[shapes.length - 1]);
    if (options.trace) {
      fs.mkdirSync(options.trace, { recursive: true });
      for (const p of pages) {
        const started = await startOnce(browser, p.server, p.kind, {
          trace: path.join(options.trace, `${p.name}-startup.json`),
        });
        const typing = await startOnce(browser, p.isolated, p.kind, { keep: true, isolated: true });
        await keystrokes(typing.page, p.kind, { ...options, batches: 1, keys: 2 }, path.join(options.trace, `${p.name}-keystrokes.json`));
        await typing.context.close();
      }
    }
    for (let round = 0; round < options.rounds; ++round) {
      const order = pages.map((_, i) => pages[(i + round) % pages.length]);
      for (let i = 0; i < options.starts; ++i) {
        for (const p of order) {
          const started = await startOnce(browser, p.server, p.kind);
          for (const name of ['firstPaint', 'firstContentfulPaint', 'ready']) p.samples[name].push(started.times[name]);
          p.samples.sent.push(started.sent);
        }
      }
      for (const p of order) {
        const { context, page } = await startOnce(browser, p.isolated, p.kind, { keep: true, isolated: true });
        const { batches, threads, keys } = await keystrokes(page, p.kind, options);
        p.samples.batch.push(batches);
        p.samples.thread.push(threads);
        p.samples.key.push(keys.map((k) => k.page));
        p.samples.routed.push(keys.map((k) => k.routed));
        await context.close();
      }
      log(`round ${round + 1} of ${options.rounds} done`);
    }
  } finally {
    await browser.close();
    for (const p of pages) {
      await p.server?.close();
      await p.isolated?.close();
    }
  }
  return pages;
}

// --- The report ----------------------------------------------------------------------------------

const ms = (v) => `${v.toFixed(1)} ms`;
const us = (v) => `${v.toFixed(1)} us`;
const kb = (v) => `${(v / 1000).toFixed(1)} KB`;

// Each figure for every page, and each page's ratio to the last one, the yardstick; with a build to
// compare, the first build's ratio to it as well.
export function report(pages, options) {
  const yardstick = pages[pages.length - 1];
  const others = pages.slice(0, -1);
  const lines = [];
  if (pages.geometry?.length > 0) {
    lines.push(`warning: the bare page's controls are not where the window's are: ${pages.geometry.join('; ')}`);
  }
  const counts = `${options.rounds} rounds of ${options.starts} first visits, ${options.batches} batches of ${options.changes} changes and ${options.keys} keys`;
  const names = others.map((p) => `${p.name} (${p.folder})`).join(' and ');
  lines.push(`== ${names} against ${yardstick.name} (${yardstick.folder}): ${counts}`);
  const ratios = (values) => {
    const to = values.slice(0, -1).map((v) => (v / values[values.length - 1]).toFixed(3));
    let text = `ratio ${to.join(' and ')}${to.length > 1 ? ` to ${yardstick.name}` : ''}`;
    if (to.length > 1) text += `; ${others[0].name} to ${others[1].name} ${(values[0] / values[1]).toFixed(3)}`;
    return text;
  };
  const spread = (values, unit) => {
    const finite = values.filter(Number.isFinite);
    return `${unit(median(finite))} [${unit(Math.min(...finite))}, ${unit(Math.max(...finite))}]`;
  };
  for (const [name, label] of [
    ['firstPaint', 'navigation to first paint'],
    ['firstContentfulPaint', 'navigation to first contentful paint'],
    ['ready', 'navigation to window ready'],
  ]) {
    const medians = pages.map((p) => median(p.samples[name]));
    const difference = medians[0] - medians[medians.length - 1];
    lines.push(
      `${label}, median [min, max]: ${pages.map((p) => `${p.name} ${spread(p.samples[name], ms)}`).join(', ')}; ` +
        `${ratios(medians)}, difference ${difference >= 0 ? '+' : ''}${difference.toFixed(1)} ms`,
    );
  }
  // Keystrokes: the median of each round's samples, then the median and the fastest of those.
  for (const [name, label] of [
    ['batch', `keystroke (input event and forced layout, batches of ${options.changes})`],
    ['thread', `keystroke, the renderer thread's CPU time (traced batches; tracing adds to both)`],
    ['key', 'real key (keydown seen to layout after the input handlers)'],
    ['routed', 'real key (keydown time stamp to the same, routing included)'],
  ]) {
    const rounds = (p) => p.samples[name].map(median);
    const medians = pages.map((p) => median(rounds(p)));
    lines.push(
      `${label}, median of the rounds' medians (fastest round): ` +
        `${pages.map((p, i) => `${p.name} ${us(medians[i])} (${us(Math.min(...rounds(p)))})`).join(', ')}; ${ratios(medians)}`,
    );
  }
  const sent = (p) => {
    const bytes = p.samples.sent.map((s) => s.bytes);
    const first = p.samples.sent[0];
    const same = bytes.every((v) => v === first.bytes);
    return { first, same, bytes: median(bytes), gzip: median(p.samples.sent.map((s) => s.gzip)) };
  };
  const sents = pages.map(sent);
  lines.push(
    `first visit, all responses' bytes (gzip -9 of each file): ` +
      `${pages.map((p, i) => `${p.name} ${sents[i].bytes} bytes, ${kb(sents[i].bytes)} (${kb(sents[i].gzip)})`).join(', ')}; ` +
      `${ratios(sents.map((x) => x.bytes))} (gzip: ${ratios(sents.map((x) => x.gzip))})`,
  );
  for (const [i, p] of pages.entries()) {
    const s = sents[i];
    const list = (files) => [...files].map(([name, n]) => (n > 1 ? `${name} x${n}` : name)).join(', ');
    const confirmed = s.first.confirmed.size > 0 ? `; confirmed current, not sent (304): ${list(s.first.confirmed)}` : '';
    lines.push(
      `  ${p.name}: ${s.first.requests} requests${s.same ? '' : ' (the bytes varied between visits)'}: ${list(s.first.files)}${confirmed}`,
    );
  }
  return lines;
}

async function main() {
  const options = parseArguments(process.argv.slice(2));
  const pages = await run(options, (line) => process.stderr.write(`${line}\n`));
  for (const line of report(pages, options)) console.log(line);
  if (options.json) {
    const plain = (s) => ({ ...s, files: Object.fromEntries(s.files), confirmed: Object.fromEntries(s.confirmed) });
    const samples = Object.fromEntries(pages.map((p) => [p.name, { ...p.samples, sent: p.samples.sent.map(plain) }]));
    fs.writeFileSync(options.json, `${JSON.stringify({ options, chromium: chromiumPath, samples }, null, 1)}\n`);
  }
}

if (process.argv[1] && fs.realpathSync(process.argv[1]) === fileURLToPath(import.meta.url)) {
  main().catch((error) => {
    console.error(`bench_web: ${error.message}`);
    process.exit(1);
  });
}
