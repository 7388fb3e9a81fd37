// A first visit: the service worker caches the whole site without downloading again what the page
// has just loaded, the window then works offline, and a new build's worker caches the new build's
// files even from a server that lets browsers keep copies for an hour.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { createSiteServer } from '../../tools/serve_web.mjs';
import { collectProblems, launchChromium, siteFolder } from './harness.mjs';

let browser;
const folders = [];

before(async () => {
  browser = await launchChromium({ width: 800, height: 600 });
});

after(async () => {
  await browser?.close();
  for (const folder of folders) fs.rmSync(folder, { recursive: true, force: true });
});

// The site server on a free port, noting each response's address and status; `cacheControl`, when
// given, replaces the server's own Cache-Control.
async function serveNoted(folder, cacheControl) {
  const server = createSiteServer(folder);
  const log = [];
  server.on('request', (request, response) => {
    if (cacheControl) {
      const writeHead = response.writeHead.bind(response);
      response.writeHead = (status, headers) => writeHead(status, { ...headers, 'Cache-Control': cacheControl });
    }
    response.on('finish', () => log.push({ url: request.url, status: response.statusCode }));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    log,
    close: () => new Promise((resolve) => {
      server.closeAllConnections();
      server.close(resolve);
    }),
  };
}

function copyOfSite() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillomat-site-'));
  folders.push(folder);
  for (const name of fs.readdirSync(siteFolder)) fs.copyFileSync(path.join(siteFolder, name), path.join(folder, name));
  return folder;
}

const siteFiles = (folder) => fs.readdirSync(folder).filter((name) => name !== 'sw.js').sort();

async function openReady(context, url) {
  const page = await context.newPage();
  const problems = collectProblems(page);
  await page.goto(url);
  await page.waitForFunction(() => !document.getElementById('frmStart').inert);
  await page.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
  return { page, problems };
}

// The cached files, by name, as text (base64 for what is not text).
function cachedFiles(names) {
  return caches.keys().then(async (keys) => {
    const mine = keys.filter((key) => key.startsWith('quillomat '));
    if (mine.length !== 1) return { caches: mine };
    const cache = await caches.open(mine[0]);
    const files = {};
    for (const name of names) {
      const response = await cache.match(name);
      files[name] = response ? btoa(String.fromCharCode(...new Uint8Array(await response.arrayBuffer()))) : null;
    }
    return { caches: mine, files };
  });
}

const onDisk = (folder, names) =>
  Object.fromEntries(names.map((name) => [name, fs.readFileSync(path.join(folder, name)).toString('base64')]));

async function typicalRun(page) {
  for (const [id, text] of [['txtBase1', '200'], ['txtResp1', '50'], ['txtBase2', '300'], ['txtResp2', '120']]) {
    await page.focus(`#${id}`);
    await page.keyboard.type(text);
  }
  return page.evaluate(() => ['lblPer1b', 'lblPer2b', 'txtSigDiff'].map((id) => {
    const element = document.getElementById(id);
    return element.value ?? element.textContent;
  }));
}

test('a first visit downloads each file once and leaves the window working offline, at either address', async () => {
  const folder = copyOfSite();
  const site = await serveNoted(folder);
  const context = await browser.createBrowserContext();
  try {
    const { page, problems } = await openReady(context, site.url);
    await page.waitForNetworkIdle({ idleTime: 200 });
    // The page is one file under two addresses.
    const sent = site.log.filter((entry) => entry.status === 200).map((entry) => (entry.url === '/' ? '/index.html' : entry.url));
    const twice = sent.filter((url, i) => sent.indexOf(url) !== i);
    assert.deepEqual(twice, [], `sent more than once: ${twice.join(', ')}`);
    assert.ok(site.log.every((entry) => entry.status === 200 || entry.status === 304), JSON.stringify(site.log));
    const names = siteFiles(folder);
    const cached = await page.evaluate(cachedFiles, names);
    assert.equal(cached.caches.length, 1);
    assert.deepEqual(cached.files, onDisk(folder, names));
    assert.deepEqual(problems, []);

    await page.setOfflineMode(true);
    for (const address of [site.url, new URL('index.html', site.url).href]) {
      await page.goto(address);
      await page.waitForFunction(() => !document.getElementById('frmStart').inert);
      assert.deepEqual(await typicalRun(page), ['25.00%', '40.00%', '  SIGNIFICANTLY DIFFERENT  '], address);
    }
  } finally {
    await context.close();
    await site.close();
  }
});

test("a new build's worker caches the new build's files, even where copies may be kept for an hour", async () => {
  const folder = copyOfSite();
  const site = await serveNoted(folder, 'max-age=3600');
  const context = await browser.createBrowserContext();
  try {
    const { page } = await openReady(context, site.url);
    // A new build: another page module, and a worker that names a new cache.
    fs.appendFileSync(path.join(folder, 'page.mjs'), '\n// rebuilt\n');
    const worker = fs.readFileSync(path.join(folder, 'sw.js'), 'utf8');
    const renamed = worker.replace(/^(const kCache = `.*) ([0-9a-f]+)`;$/m, '$1 $2rebuilt`;');
    assert.notEqual(renamed, worker, "the worker's cache name was not found");
    fs.writeFileSync(path.join(folder, 'sw.js'), renamed);
    await page.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      await registration.update();
      const installing = registration.installing ?? registration.waiting;
      if (installing) {
        await new Promise((resolve) => {
          installing.addEventListener('statechange', () => installing.state === 'activated' && resolve());
          if (installing.state === 'activated') resolve();
        });
      }
    });
    await page.waitForFunction(
      () => caches.keys().then((keys) => keys.length === 1 && keys[0].endsWith('rebuilt')),
      { polling: 100, timeout: 20000 },
    );
    const names = siteFiles(folder);
    const cached = await page.evaluate(cachedFiles, names);
    assert.deepEqual(cached.files, onDisk(folder, names));
  } finally {
    await context.close();
    await site.close();
  }
});
