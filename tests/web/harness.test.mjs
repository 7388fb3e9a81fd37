// The harness itself, on a throwaway page written here: real key events reach an <input>, the
// page is read back, a screenshot is taken, and the console check sees errors when there are some.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { artifactsFolder, collectProblems, launchChromium, serveFolder } from './harness.mjs';

// A WebAssembly module exporting add(i32, i32) -> i32. The page compiles it while streaming, which
// browsers do only when it arrives as application/wasm.
const addWasm = Uint8Array.from([
  0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00, 0x01, 0x07, 0x01, 0x60, 0x02, 0x7f, 0x7f, 0x01, 0x7f, 0x03, 0x02,
  0x01, 0x00, 0x07, 0x07, 0x01, 0x03, 0x61, 0x64, 0x64, 0x00, 0x00, 0x0a, 0x09, 0x01, 0x07, 0x00, 0x20, 0x00, 0x20,
  0x01, 0x6a, 0x0b,
]);

const files = {
  'index.html': `<!doctype html>
<html lang="en">
<head><meta charset="utf-8"><title>Harness page</title><link rel="icon" href="data:,"><link rel="stylesheet" href="style.css"></head>
<body>
<label for="name">Name</label> <input id="name" autocomplete="off">
<p>Echo: <output id="echo"></output></p>
<p>Trusted keys: <output id="keys">0</output></p>
<p>2 + 3 = <output id="sum"></output></p>
<script src="page.js"></script>
</body>
</html>
`,
  'style.css': 'body { font: 16px sans-serif; margin: 24px; background: #fff; }\n#echo { color: #0645ad; }\n',
  'page.js': `const input = document.getElementById('name');
let keys = 0;
input.addEventListener('keydown', (event) => {
  if (event.isTrusted) document.getElementById('keys').textContent = String(++keys);
});
input.addEventListener('input', () => {
  document.getElementById('echo').textContent = input.value.toUpperCase();
});
WebAssembly.instantiateStreaming(fetch('add.wasm')).then(({ instance }) => {
  document.getElementById('sum').textContent = String(instance.exports.add(2, 3));
});
`,
  'add.wasm': addWasm,
  'broken.html': `<!doctype html>
<html lang="en"><head><meta charset="utf-8"><title>Broken page</title><link rel="icon" href="data:,"></head>
<body><script>console.error('something broke');</script><script src="missing.js"></script></body></html>
`,
};

let folder;
let site;
let browser;

before(async () => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillomat-harness-'));
  for (const [name, content] of Object.entries(files)) fs.writeFileSync(path.join(folder, name), content);
  site = await serveFolder(folder);
  browser = await launchChromium({ width: 640, height: 360 });
});

after(async () => {
  await browser?.close();
  await site?.close();
  if (folder) fs.rmSync(folder, { recursive: true, force: true });
});

// Width and height from a PNG's header.
function pngSize(png) {
  assert.deepEqual([...png.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a], 'a PNG signature');
  return { width: png.readUInt32BE(16), height: png.readUInt32BE(20) };
}

test('real key events reach the input, the page reads back, and a screenshot is taken', async () => {
  const page = await browser.newPage();
  const problems = collectProblems(page);
  await page.goto(site.url, { waitUntil: 'load' });
  await page
    .waitForFunction(() => document.getElementById('sum').textContent !== '', { timeout: 10000 })
    .catch((error) => assert.fail(`${error.message}; the page's problems: ${problems.join('; ') || 'none'}`));
  assert.equal(await page.$eval('#sum', (element) => element.textContent), '5');

  await page.click('#name');
  await page.keyboard.type('Base 200');
  await page.keyboard.press('Backspace');
  assert.equal(await page.$eval('#name', (element) => element.value), 'Base 20');
  assert.equal(await page.$eval('#echo', (element) => element.textContent), 'BASE 20');
  assert.equal(await page.$eval('#keys', (element) => element.textContent), '9');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'name');

  const png = Buffer.from(await page.screenshot({ path: path.join(artifactsFolder, 'harness-page.png') }));
  assert.deepEqual(pngSize(png), { width: 640, height: 360 });
  assert.deepEqual(problems, []);
  await page.close();
});

test('console errors and failed requests are reported', async () => {
  const page = await browser.newPage();
  const problems = collectProblems(page);
  // The protocol's events may come in after the page's load: wait for each, a few seconds at most.
  const reported = async (text) => {
    for (const end = Date.now() + 5000; Date.now() < end; await new Promise((r) => setTimeout(r, 20)))
      if (problems.some((problem) => problem.includes(text))) return true;
    return false;
  };
  await page.goto(new URL('broken.html', site.url).href, { waitUntil: 'load' });
  assert.ok(await reported('something broke'), problems.join('\n'));
  assert.ok(await reported('missing.js'), problems.join('\n'));
  await page.close();
});
