// That the web benchmark measures what it says, without judging any figure: every response is
// counted once per request, gzip sizes are those of the files sent, the pages' shapes are
// compared, and a short run in Chromium gives one sample per visit, batch and key, refusing a page
// on which a typed key has no effect.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';
import { test } from 'node:test';

import { batchThreadTime, defaults, geometryDifferences, median, parseArguments, report, run, transfers } from './bench.mjs';
import { siteFolder } from '../../tests/web/harness.mjs';

const bareFolder = fileURLToPath(new URL('./bare/', import.meta.url));

function temporaryFolder(files) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillomat-bench-'));
  for (const [name, content] of Object.entries(files)) fs.writeFileSync(path.join(folder, name), content);
  return folder;
}

test('transfers count every response once per request, gzip -9 of each file sent, and files confirmed unsent', () => {
  const index = '<!DOCTYPE html>'.repeat(50);
  const script = 'console.log(1);\n'.repeat(30);
  const folder = temporaryFolder({ 'index.html': index, 'a.js': script });
  const server = { url: 'http://127.0.0.1:1/', folder: fs.realpathSync(folder) };
  const gz = (text) => zlib.gzipSync(Buffer.from(text), { level: 9 }).length;
  const log = [
    { method: 'GET', url: '/', status: 200, bytes: index.length },
    { method: 'GET', url: '/a.js?v=1', status: 200, bytes: script.length },
    { method: 'GET', url: '/index.html', status: 200, bytes: index.length },
    { method: 'GET', url: '/missing.png', status: 404, bytes: 14 },
    { method: 'HEAD', url: '/a.js', status: 200, bytes: 0 },
    { method: 'GET', url: '/a.js', status: 304, bytes: 0 },
    { method: 'GET', url: '/', status: 304, bytes: 0 },
  ];
  const sent = transfers(server, log);
  assert.equal(sent.requests, 7);
  assert.equal(sent.bytes, 2 * index.length + script.length + 14);
  assert.equal(sent.gzip, 2 * gz(index) + gz(script));
  assert.deepEqual(Object.fromEntries(sent.files), { 'index.html': 2, 'a.js': 1 });
  assert.deepEqual(Object.fromEntries(sent.confirmed), { 'a.js': 1, 'index.html': 1 });
  assert.deepEqual(sent.failed, ['GET /missing.png 404', 'HEAD /a.js 200']);
});

test('the shapes of two pages differ where a control is more than a pixel off, or missing', () => {
  const window = { a: [0, 0, 10, 10], b: [5, 5, 20, 20] };
  const cases = [
    [{ a: [0, 0, 10, 10], b: [5, 5, 20, 20] }, []],
    [{ a: [0.5, 0, 10, 11], b: [5, 5, 20, 20] }, []],
    [{ a: [0, 0, 10, 10], b: [5, 7, 20, 20] }, ['b: [5,5,20,20] in the window, [5,7,20,20] bare']],
    [{ a: [0, 0, 10, 10] }, ['b: not in the bare page']],
    [{ a: [0, 0, 10, 10], b: [5, 5, 20, 20], c: [1, 1, 1, 1] }, ['c: not in the window']],
  ];
  for (const [bare, expected] of cases) assert.deepEqual(geometryDifferences(window, bare), expected, JSON.stringify(bare));
});

test("a batch's thread time is that of the task that ran all its input events, per change", () => {
  const input = (ts) => ({ name: 'EventDispatch', ph: 'X', pid: 1, tid: 7, ts, dur: 10, tdur: 9, args: { data: { type: 'input' } } });
  const events = [
    { name: 'RunTask', ph: 'X', pid: 1, tid: 7, ts: 0, dur: 2000, tdur: 1500 },
    { name: 'Receive mojo message', ph: 'X', pid: 1, tid: 7, ts: 100, dur: 1000, tdur: 400 },
    { name: 'Receive mojo message', ph: 'X', pid: 2, tid: 3, ts: 100, dur: 1000, tdur: 100 },
    input(200),
    input(500),
    input(800),
    input(1500),
    { name: 'EventDispatch', ph: 'X', pid: 1, tid: 7, ts: 300, dur: 5, tdur: 5, args: { data: { type: 'keydown' } } },
  ];
  // The middle input event lies in the innermost task on its thread; that task must hold them all.
  assert.throws(() => batchThreadTime(events, 4), /holds 3 input events of 4/);
  assert.deepEqual(batchThreadTime(events.slice(0, 6).concat(events.slice(7)), 3), { thread: 400 / 3, wall: 1000 / 3 });
  assert.throws(() => batchThreadTime(events, 5), /4 input events of 5/);
});

test('medians of odd and even counts, without what is not a number', () => {
  const cases = [
    [[3, 1, 2], 2],
    [[4, 1, 3, 2], 2.5],
    [[5], 5],
    [[NaN, 7, Infinity, 9], 8],
  ];
  for (const [values, expected] of cases) assert.equal(median(values), expected, JSON.stringify(values));
  assert.ok(Number.isNaN(median([])));
});

test('arguments: counts above zero, folders made absolute, anything else refused', () => {
  const options = parseArguments([]);
  for (const [name, value] of Object.entries(defaults)) assert.equal(options[name], value, name);
  assert.equal(options.self, false);
  const given = parseArguments(['--rounds', '3', '--keys', '8', '--site', 'here', '--against', 'there', '--self']);
  assert.equal(given.rounds, 3);
  assert.equal(given.keys, 8);
  assert.equal(given.site, path.resolve('here'));
  assert.equal(given.against, path.resolve('there'));
  assert.equal(given.self, true);
  for (const bad of [['--rounds', '0'], ['--starts', '1.5'], ['--changes'], ['--fast'], ['--site']]) {
    assert.throws(() => parseArguments(bad), undefined, bad.join(' '));
  }
});

// Pages with the given medians for every figure (each sample list holds the one value).
function pagesWith(values) {
  return Object.entries(values).map(([name, v]) => ({
    name,
    folder: `/${name}`,
    samples: {
      firstPaint: [v],
      firstContentfulPaint: [v],
      ready: [v, v - 1, v + 1],
      batch: [[v], [v]],
      thread: [[v]],
      key: [[v]],
      routed: [[v]],
      sent: [{ requests: 1, bytes: v, gzip: v / 2, files: new Map([['index.html', 1]]), confirmed: new Map() }],
    },
  }));
}

test('the report gives every page its ratio to the yardstick, and a build its ratio to the one it is compared with', () => {
  const options = { ...defaults };
  const two = report(pagesWith({ quillomat: 300, bare: 200 }), options);
  for (const figure of ['first paint', 'window ready', 'keystroke', 'real key', 'first visit']) {
    const line = two.find((l) => !l.startsWith('==') && l.includes(figure));
    assert.match(line, /ratio 1\.500\b/, line);
  }
  assert.match(two.find((l) => l.includes('window ready')), /difference \+100\.0 ms/);
  const three = report(pagesWith({ quillomat: 300, against: 400, bare: 200 }), options);
  const ready = three.find((l) => l.includes('window ready'));
  assert.match(ready, /ratio 1\.500 and 2\.000 to bare; quillomat to against 0\.750/, ready);
  assert.match(three[0], /quillomat \(\/quillomat\) and against \(\/against\) against bare/);
});

const short = { ...defaults, rounds: 1, starts: 2, batches: 2, changes: 10, keys: 4, self: false, site: siteFolder };

test('a short run in Chromium gives one sample for each first visit, batch and key', { timeout: 120000 }, async () => {
  const pages = await run(short, () => {});
  const [quillomat, bare] = pages;
  for (const p of pages) {
    for (const name of ['firstPaint', 'firstContentfulPaint', 'ready']) {
      assert.equal(p.samples[name].length, short.rounds * short.starts, `${p.name} ${name}`);
      for (const v of p.samples[name]) assert.ok(v > 0 && Number.isFinite(v), `${p.name} ${name} ${v}`);
    }
    assert.equal(p.samples.batch.length, short.rounds);
    assert.equal(p.samples.batch[0].length, short.batches);
    assert.equal(p.samples.thread[0].length, short.batches);
    for (const v of p.samples.thread[0]) assert.ok(v > 0, `${p.name} thread ${v}`);
    for (const name of ['key', 'routed']) {
      assert.equal(p.samples[name][0].length, short.keys, `${p.name} ${name}`);
      for (const v of p.samples[name][0]) assert.ok(v > 0, `${p.name} ${name} ${v}`);
    }
    for (const v of p.samples.batch[0]) assert.ok(v > 0, `${p.name} batch ${v}`);
    assert.equal(p.samples.sent.length, short.rounds * short.starts);
  }
  // The bare page is its three files, each sent once and counted to the byte.
  const bareFiles = ['index.html', 'bare.css', 'bare.mjs'];
  const bareSent = bare.samples.sent[0];
  assert.deepEqual([...bareSent.files.keys()].sort(), [...bareFiles].sort());
  const size = (name) => fs.statSync(path.join(bareFolder, name)).size;
  assert.equal(bareSent.bytes, bareFiles.map(size).reduce((a, b) => a + b));
  // The window's first visit includes the program and the service worker's own script.
  const sent = quillomat.samples.sent[0];
  for (const name of ['index.html', 'quillomat.wasm', 'page.mjs', 'sw.js']) assert.ok(sent.files.has(name), name);
  const lines = report(pages, short);
  for (const figure of ['first paint', 'window ready', 'keystroke', 'real key', 'first visit']) {
    assert.ok(lines.some((line) => line.includes(figure) && /ratio \d/.test(line)), figure);
  }
});

test('a page on which a typed key has no effect is refused', { timeout: 120000 }, async () => {
  const folder = temporaryFolder({});
  for (const name of fs.readdirSync(bareFolder)) fs.copyFileSync(path.join(bareFolder, name), path.join(folder, name));
  const script = fs.readFileSync(path.join(folder, 'bare.mjs'), 'utf8');
  fs.writeFileSync(path.join(folder, 'bare.mjs'), script.replace("box.addEventListener('input'", "box.addEventListener('change'"));
  await assert.rejects(run({ ...short, self: true, bare: folder }, () => {}), /had no effect/);
});
